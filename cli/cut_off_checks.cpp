#include "cut_off_checks.h"

#include <cstdio>
#include <cstring>
#include <fstream>

#include "debugwin/item_value_text.h"
#include "definitions/macro_table.h"

namespace tavir::cli {

namespace {

constexpr int kMacroNameLength = kMacroNameCapacity - 1;
constexpr int kObjectNameLength = kObjectNameCapacity - 1;
constexpr int kClearanceNameLength = kClearanceNameCapacity - 1;

template <class Table>
bool holdsCutName(const Table& table, int32_t count, const std::string& name) {
    int used = usableCount(count, static_cast<int>(table.size()));
    for (int i = 0; i < used; ++i) {
        if (name.compare(0, kObjectNameLength, table[static_cast<size_t>(i)].name) == 0) return true;
    }
    return false;
}

bool inAnObjectTable(const ApplicationTables& t, const std::string& name) {
    const ApplicationCounts& c = t.counts;
    return holdsCutName(t.signalGroups, c.numSignalGroups, name) ||
           holdsCutName(t.detectors, c.numDetectors, name) || holdsCutName(t.timers, c.numTimers, name) ||
           holdsCutName(t.clocks, c.numClocks, name) || holdsCutName(t.switches, c.numSwitches, name) ||
           holdsCutName(t.eparms, c.numEparms, name) || holdsCutName(t.eggparms, c.numEggparms, name);
}

// The name of a "#define" line as the define pass takes it; empty for any other line.
std::string defineName(const std::string& line) {
    if (line.compare(0, 7, "#define") != 0) return {};
    size_t start = line.find_first_not_of(" \t", 7);
    if (start == std::string::npos || start == 7) return {};
    size_t end = line.find_first_of(" \t\r\n", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void overCapacity(const char* what, int32_t count, int capacity, std::vector<std::string>& warnings) {
    if (count <= capacity) return;
    warnings.push_back(std::to_string(count) + " " + what + " are defined but the table holds " +
                       std::to_string(capacity) + "; the rest are left out");
}

std::string at(const char* path, const DebugItem& item) {
    char text[64];
    std::snprintf(text, sizeof text, ": item %02d (row %d, column %d)", item.itemNumber, item.row,
                  item.column);
    return path + std::string(text);
}

}  // namespace

void checkApplicationCutOffs(const char* headerPath, const ApplicationTables& tables,
                             std::vector<std::string>& warnings) {
    std::ifstream header(headerPath, std::ios::binary);
    std::string line;
    while (std::getline(header, line)) {
        std::string name = defineName(line);
        int length = static_cast<int>(name.size());
        if (length > kMacroNameLength) {
            warnings.push_back(std::string(headerPath) + ": the name " + name + " is " +
                               std::to_string(length) + " characters; the name table keeps its first " +
                               std::to_string(kMacroNameLength) +
                               ", so longer names that agree in those are one name");
        }
        if (length > kObjectNameLength && inAnObjectTable(tables, name)) {
            warnings.push_back(std::string(headerPath) + ": the name " + name + " is kept as its first " +
                               std::to_string(kObjectNameLength) + " characters in the object tables");
        }
    }
    const ApplicationCounts& c = tables.counts;
    int groups = usableCount(c.numSignalGroups, kSignalGroupCapacity);
    for (int i = 0; i < groups; ++i) {
        const char* name = tables.signalGroups[static_cast<size_t>(i)].name;
        if (static_cast<int>(std::strlen(name)) > kClearanceNameLength) {
            warnings.push_back(std::string(headerPath) + ": the signal group " + name +
                               " is cut to its first " + std::to_string(kClearanceNameLength) +
                               " characters in the clearance table");
        }
    }
    overCapacity("signal groups", c.numSignalGroups, kSignalGroupCapacity, warnings);
    overCapacity("detectors", c.numDetectors, kDetectorCapacity, warnings);
    overCapacity("timers", c.numTimers, kTimerCapacity, warnings);
    overCapacity("clocks", c.numClocks, kClockCapacity, warnings);
    overCapacity("switches", c.numSwitches, kSwitchCapacity, warnings);
    overCapacity("EPARMs", c.numEparms, kEparmCapacity, warnings);
    overCapacity("EGGPARMs", c.numEggparms, kEggparmCapacity, warnings);
}

void checkWindowCutOffs(const char* path, const TextWindow& window, std::vector<std::string>& warnings) {
    const ChildWindowData& data = window.data;
    for (int i = 0; i < data.itemCount; ++i) {
        const DebugItem& item = data.items[i];
        if (item.window == nullptr) continue;
        int right = item.column + item.width;
        if (right > data.columns) {
            warnings.push_back(at(path, item) + " is " + std::to_string(item.width) +
                               " characters wide and ends at column " + std::to_string(right) +
                               "; the window is " + std::to_string(data.columns) +
                               " columns, so its end is cut off");
        }
        if (item.functionCode == kDatumFunctionCode && !item.isCheckbox && item.width < 6) {
            warnings.push_back(at(path, item) + " shows datum in " + std::to_string(item.width) +
                               " characters; its six digits always show as ####");
        }
        if (!item.doubledDisplay) continue;
        // The doubled display grows to the right over what the picture put there.
        auto covers = [&](int row, int column, int length) {
            return row == item.row && column < right && column + length > item.column + item.width - 4;
        };
        for (int j = 0; j < data.itemCount; ++j) {
            const DebugItem& other = data.items[j];
            if (j != i && covers(other.row, other.column, other.width)) {
                warnings.push_back(at(path, item) + " is a doubled display that covers item " +
                                   std::to_string(other.itemNumber));
            }
        }
        for (int l = 0; l < data.labelCount; ++l) {
            const DebugLabel& label = data.labels[l];
            if (covers(label.row, label.column, label.length)) {
                warnings.push_back(at(path, item) + " is a doubled display that covers the text " +
                                   labelText(data, l));
            }
        }
    }
}

}  // namespace tavir::cli
