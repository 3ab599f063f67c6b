#include "definitions/macro_table.h"

#include <cstring>

namespace tavir {

namespace {

size_t storedLength(const char* name) {
    size_t length = 0;
    while (length < kMacroNameCapacity - 1 && name[length] != '\0') ++length;
    return length;
}

}  // namespace

void clearMacroTable(MacroTable& table) {
    table.count = 0;
    for (MacroEntry& entry : table.entries) {
        entry.name[0] = '\0';
        entry.value = -1;
    }
    table.index.clear();
}

int addMacro(MacroTable& table, const char* name, int32_t value) {
    if (table.count < 0 || table.count >= kMacroTableCapacity) return -1;
    MacroEntry& entry = table.entries[table.count];
    size_t length = storedLength(name);
    std::memcpy(entry.name, name, length);
    entry.name[length] = '\0';
    entry.value = value;
    table.index.insert(table.count, [&table](int position) { return table.entries[position].name; });
    ++table.count;
    return 0;
}

int32_t lookupMacro(const MacroTable& table, const char* name) {
    if (table.count <= 0) return -1;
    int position =
        table.index.find(name, storedLength(name), [&table](int at) { return table.entries[at].name; });
    return position >= 0 && position < table.count ? table.entries[position].value : -1;
}

}  // namespace tavir
