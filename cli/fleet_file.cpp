#include "fleet_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/join_path.h"
#include "file_search.h"
#include "resources/definitions_texts.h"
#include "tool_session.h"

namespace tavir::cli {

namespace {

const char* const kColumns[] = {"name", "dir", "link", "baud", "kinds", "interval"};
enum Column { kName, kDir, kLink, kBaud, kKinds, kInterval, kColumnCount };

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// One line's cells: separated by commas, a cell in double quotes may hold commas, and "" is a quote
// within it. False for a quote that is not closed.
bool splitCells(const std::string& line, std::vector<std::string>& cells) {
    cells.clear();
    std::string cell;
    size_t i = 0;
    for (;;) {
        cell.clear();
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) return false;
                if (line[i] == '"' && (i + 1 >= line.size() || line[i + 1] != '"')) break;
                if (line[i] == '"') ++i;
                cell += line[i];
            }
            const size_t comma = line.find(',', ++i);
            if (!trimmed(line.substr(i, comma == std::string::npos ? std::string::npos : comma - i)).empty())
                return false;
            i = comma;
        } else {
            const size_t comma = line.find(',', i);
            cell = trimmed(line.substr(i, comma == std::string::npos ? std::string::npos : comma - i));
            i = comma;
        }
        cells.push_back(cell);
        if (i == std::string::npos) return true;
        ++i;
    }
}

bool number(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && at == end;
}

bool validName(const std::string& name) {
    return name[0] != '.' && std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return std::isalnum(c) || c == '-' || c == '_' || c == '.';
           });
}

// The reason a row is refused, or empty.
std::string checkRow(const std::vector<std::string>& cell, const std::string& baseDir, FleetRow& row) {
    row.name = cell[kName];
    if (row.name.empty()) return "no name";
    if (!validName(row.name))
        return "the name '" + row.name +
               "' may hold only letters, digits, '-', '_' and '.' (a file is named after it)";
    if (cell[kDir].empty()) return "no dir";
    std::filesystem::path dir(hostPath(cell[kDir]));
    row.dir = (dir.is_absolute() || baseDir.empty() ? dir : std::filesystem::path(baseDir) / dir).string();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(hostPath(JoinPath(row.dir.c_str(), text::kHeaderFileName)),
                                          ignored))
        return "the directory " + row.dir + " holds no " + text::kHeaderFileName;
    const std::string& link = cell[kLink];
    if (link.empty()) return "no link";
    const size_t colon = link.rfind(':');
    const bool tcp = colon != std::string::npos && colon > 0 && colon + 1 < link.size() &&
                     link.find_first_not_of("0123456789", colon + 1) == std::string::npos;
    if (tcp) {
        row.link.ip = link.substr(0, colon);
        if (!number(link.substr(colon + 1), row.link.port) || row.link.port < 1 || row.link.port > 65535)
            return "the port of the link " + link + " is not 1 to 65535";
    } else if (link.find_first_not_of("0123456789.:") == std::string::npos) {
        return "the link " + link + " is no HOST:PORT (and no serial device)";
    } else {
        row.link.serial = link;
    }
    if (!cell[kBaud].empty()) {
        if (tcp) return "a baud rate for the TCP link " + link;
        if (!number(cell[kBaud], row.link.baud) ||
            std::find(kSerialRates.begin(), kSerialRates.end(), row.link.baud) == kSerialRates.end())
            return "the baud rate " + cell[kBaud] + " is not one the serial line takes";
    }
    row.kinds = cell[kKinds];
    KindSelection kinds;
    std::string unknown;
    if (!row.kinds.empty() && !parseKinds(row.kinds, kinds, unknown))
        return "unknown parameter kind '" + unknown + "'";
    int interval = 0;
    if (!cell[kInterval].empty() && (!number(cell[kInterval], interval) || interval < 100 || interval > 2000))
        return "the interval " + cell[kInterval] + " is not 100 to 2000 ms";
    row.intervalMs = static_cast<uint32_t>(interval);
    return "";
}

}  // namespace

bool parseFleet(const std::string& text, const std::string& baseDir, std::vector<FleetRow>& rows,
                std::string& error) {
    rows.clear();
    std::istringstream lines(text);
    std::string line;
    std::vector<std::string> cells;
    std::vector<int> place;  // the column of each cell
    std::map<std::string, int> names;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (trimmed(line).empty() || trimmed(line)[0] == '#') continue;
        const std::string at = "row " + std::to_string(number) + ": ";
        if (!splitCells(line, cells)) {
            error = at + "a quoted cell is not closed, or text follows its closing quote";
            return false;
        }
        if (place.empty()) {
            for (const std::string& title : cells) {
                const auto column = std::find(std::begin(kColumns), std::end(kColumns), lowered(title));
                if (column == std::end(kColumns)) {
                    error = at + "unknown column '" + title +
                            "' (the columns: name, dir, link, baud, kinds, interval)";
                    return false;
                }
                const int index = static_cast<int>(column - std::begin(kColumns));
                if (std::find(place.begin(), place.end(), index) != place.end()) {
                    error = at + "the column '" + title + "' twice";
                    return false;
                }
                place.push_back(index);
            }
            for (int required : {kName, kDir, kLink}) {
                if (std::find(place.begin(), place.end(), required) == place.end()) {
                    error = at + "no column '" + kColumns[required] + "'";
                    return false;
                }
            }
            continue;
        }
        if (cells.size() != place.size()) {
            error = at + std::to_string(cells.size()) + " cells where the header has " +
                    std::to_string(place.size());
            return false;
        }
        std::vector<std::string> cell(kColumnCount);
        for (size_t i = 0; i < cells.size(); ++i) cell[static_cast<size_t>(place[i])] = cells[i];
        FleetRow row;
        row.row = number;
        const std::string reason = checkRow(cell, baseDir, row);
        if (!reason.empty()) {
            error = at + reason;
            return false;
        }
        // The names become file names, which Windows compares in either case.
        const auto [earlier, fresh] = names.emplace(lowered(row.name), number);
        if (!fresh) {
            error = at + "the name '" + row.name + "' is also row " + std::to_string(earlier->second) + "'s";
            return false;
        }
        rows.push_back(row);
    }
    if (place.empty() || rows.empty()) {
        error = place.empty() ? "no header row" : "no controller";
        return false;
    }
    return true;
}

bool readFleetFile(const std::string& path, std::vector<FleetRow>& rows, std::string& error) {
    std::ifstream file(hostPath(path), std::ios::binary);
    std::stringstream text;
    if (file) text << file.rdbuf();
    if (!file) {
        error = path + ": the fleet file cannot be read";
        return false;
    }
    if (parseFleet(text.str(), std::filesystem::path(hostPath(path)).parent_path().string(), rows, error))
        return true;
    error = path + ": " + error;
    return false;
}

bool parseShard(const std::string& text, int& shard, int& shards) {
    const size_t slash = text.find('/');
    return slash != std::string::npos && number(text.substr(0, slash), shard) &&
           number(text.substr(slash + 1), shards) && shard >= 1 && shard <= shards;
}

std::vector<FleetRow> shardRows(const std::vector<FleetRow>& rows, int shard, int shards) {
    std::vector<FleetRow> picked;
    for (size_t i = static_cast<size_t>(shard - 1); i < rows.size(); i += static_cast<size_t>(shards))
        picked.push_back(rows[i]);
    return picked;
}

}  // namespace tavir::cli
