#include "sweep_journal.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavir::cli {

namespace {

const char kFirstLine[] = "{\"tavirSweepJournal\":1}\n";

std::string entryLine(const JournalEntry& e) {
    return nlohmann::json{{"kind", e.kind},
                          {"name", e.name},
                          {"functionCode", e.address.functionCode},
                          {"number", e.address.number},
                          {"block", e.address.block},
                          {"original", e.original},
                          {"restored", e.restored}}
               .dump() +
           "\n";
}

// Out of the program's buffers and through the system's cache onto the disk.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

}  // namespace

SweepJournal::~SweepJournal() {
    if (file_ != nullptr) std::fclose(file_);
}

bool SweepJournal::create(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr && std::fputs(kFirstLine, file_) >= 0 && flushToDisk(file_);
}

bool SweepJournal::append(const JournalEntry& entry) {
    const std::string line = entryLine(entry);
    return file_ != nullptr && std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
           flushToDisk(file_);
}

bool readJournal(const std::string& path, std::vector<JournalEntry>& entries, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    if (!std::getline(in, line) || line + "\n" != kFirstLine) {
        error = path + ": not a sweep journal";
        return false;
    }
    entries.clear();
    while (std::getline(in, line)) {
        const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
        // A line the kill cut off: its write never went out.
        if (j.is_discarded() || !j.is_object() || !j.contains("original")) continue;
        JournalEntry e;
        e.kind = j.value("kind", "");
        e.name = j.value("name", "");
        e.address.functionCode = j.value("functionCode", 0);
        e.address.number = j.value("number", 0);
        e.address.block = j.value("block", 0);
        e.original = j.value("original", 0);
        e.restored = j.value("restored", false);
        entries.push_back(e);
    }
    return true;
}

bool rewriteJournal(const std::string& path, const std::vector<JournalEntry>& entries) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fputs(kFirstLine, file) >= 0;
    for (const JournalEntry& e : entries) {
        const std::string line = entryLine(e);
        ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size();
    }
    ok = flushToDisk(file) && ok;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) return false;
#ifdef _WIN32
    // rename does not replace an existing file on Windows; this replaces it in one step, so the
    // journal is never missing, not even for a moment.
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           0;
#else
    return std::rename(temporary.c_str(), path.c_str()) == 0;
#endif
}

}  // namespace tavir::cli
