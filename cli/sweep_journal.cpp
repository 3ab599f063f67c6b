#include "sweep_journal.h"

#include <cstdint>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "definitions/table_source.h"
#include "durable_file.h"
#include "file_search.h"

namespace tavir::cli {

namespace {

constexpr int kJournalVersion = 2;

std::string firstLine(const JournalOwner& owner) {
    return nlohmann::json{{"tavirSweepJournal", kJournalVersion},
                          {"dir", owner.dir},
                          {"digest", owner.digest},
                          {"link", owner.link}}
               .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
}

std::string entryLine(const JournalEntry& e) {
    return nlohmann::json{{"kind", e.kind},
                          {"name", e.name},
                          {"functionCode", e.address.functionCode},
                          {"number", e.address.number},
                          {"block", e.address.block},
                          {"original", e.original},
                          {"restored", e.restored}}
               .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
           "\n";
}

bool readInt32(const nlohmann::json& j, const char* key, int32_t& value) {
    auto found = j.find(key);
    if (found == j.end() || !found->is_number_integer()) return false;
    if (found->is_number_unsigned()) {
        const auto v = found->get<uint64_t>();
        if (v > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return false;
        value = static_cast<int32_t>(v);
        return true;
    }
    const auto v = found->get<int64_t>();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool readText(const nlohmann::json& j, const char* key, std::string& value) {
    auto found = j.find(key);
    if (found == j.end() || !found->is_string()) return false;
    value = found->get<std::string>();
    return true;
}

// Why line is no entry; empty when it is one.
std::string parseEntry(const std::string& line, JournalEntry& e) {
    const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
    if (j.is_discarded() || !j.is_object()) return "not a JSON object";
    if (!readText(j, "kind", e.kind)) return "\"kind\" is not a text";
    if (!readText(j, "name", e.name)) return "\"name\" is not a text";
    for (auto [key, field] :
         {std::pair{"functionCode", &e.address.functionCode}, std::pair{"number", &e.address.number},
          std::pair{"block", &e.address.block}, std::pair{"original", &e.original}}) {
        if (!readInt32(j, key, *field)) return std::string("\"") + key + "\" is not a 32-bit integer";
    }
    auto restored = j.find("restored");
    if (restored == j.end() || !restored->is_boolean()) return "\"restored\" is not true or false";
    e.restored = restored->get<bool>();
    if (!requestCarries(e.address)) return "the address is beyond what a request can carry";
    return "";
}

bool fitsGroups(int32_t value, int bits) {
    return value >= 0 && value < (1 << bits);
}

uint64_t fnv1a(std::istream& in, uint64_t hash) {
    char c;
    while (in.get(c)) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

}  // namespace

bool Journal::allRestored() const {
    for (const JournalEntry& e : entries)
        if (!e.restored) return false;
    return true;
}

std::string applicationDigest(const std::string& headerPath) {
    char tablePath[1024];
    if (!tableSourcePath(headerPath.c_str(), tablePath, sizeof tablePath)) return "";
    uint64_t hash = 14695981039346656037ULL;
    for (const std::string& path : {headerPath, std::string(tablePath)}) {
        std::ifstream in(hostPath(path), std::ios::binary);
        if (!in) return "";
        hash = fnv1a(in, hash);
    }
    std::ostringstream text;
    text << std::hex << hash;
    return text.str();
}

// The encoder puts the number of categories 0, 13 and 14 in two groups, that of category 1 in
// 16 bits, and the number and block of categories 2 to 12 in one group each (or leaves them out:
// -1 and a low byte 0xFF). Category 15 carries neither.
bool requestCarries(const ValueRecord& a) {
    if (a.functionCode < 0 || a.functionCode > 511) return false;
    const int category = a.functionCode / 32;
    if (category == 15) return true;
    if (category == 0 || category == 13 || category == 14) return fitsGroups(a.number, 12);
    if (category == 1) return fitsGroups(a.number, 16);
    return (a.number == -1 || fitsGroups(a.number, 6)) &&
           ((a.block & 0xFF) == 0xFF || fitsGroups(a.block, 6));
}

SweepJournal::~SweepJournal() {
    if (file_ != nullptr) std::fclose(file_);
}

bool SweepJournal::create(const std::string& path, const JournalOwner& owner) {
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr && std::fputs(firstLine(owner).c_str(), file_) >= 0 && flushToDisk(file_);
}

bool SweepJournal::append(const JournalEntry& entry) {
    const std::string line = entryLine(entry);
    return file_ != nullptr && std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
           flushToDisk(file_);
}

bool parseJournal(const std::string& text, Journal& journal, std::string& error) {
    journal = Journal();
    size_t at = 0;
    for (int number = 1; at < text.size(); ++number) {
        size_t end = text.find('\n', at);
        const bool cutOff = end == std::string::npos;
        const std::string line = text.substr(at, cutOff ? std::string::npos : end - at);
        at = cutOff ? text.size() : end + 1;
        std::string why;
        if (number == 1) {
            const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
            int32_t version = 0;
            if (cutOff || j.is_discarded() || !j.is_object() || !readInt32(j, "tavirSweepJournal", version) ||
                version < 1 || version > kJournalVersion) {
                error = ":1: not a sweep journal";
                return false;
            }
            // A journal of the first version names no owner.
            readText(j, "dir", journal.owner.dir);
            readText(j, "digest", journal.owner.digest);
            readText(j, "link", journal.owner.link);
            continue;
        }
        JournalEntry e;
        why = parseEntry(line, e);
        if (why.empty()) {
            journal.entries.push_back(e);
        } else if (!cutOff) {
            error = ":" + std::to_string(number) + ": " + why;
            return false;
        }
    }
    if (at == 0) {
        error = ":1: not a sweep journal";
        return false;
    }
    return true;
}

bool readJournal(const std::string& path, Journal& journal, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!parseJournal(text.str(), journal, error)) {
        error = path + error;
        return false;
    }
    return true;
}

std::string journalText(const Journal& journal) {
    std::string text = firstLine(journal.owner);
    for (const JournalEntry& e : journal.entries) text += entryLine(e);
    return text;
}

bool rewriteJournal(const std::string& path, const Journal& journal) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    const std::string text = journalText(journal);
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = flushToDisk(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok && replaceFile(temporary, path);
}

}  // namespace tavir::cli
