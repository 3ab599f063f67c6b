#pragma once
// The names a debugger window knows: the built-in macros (function codes) followed by the
// application header's defines (array numbers and counts), in the order they were added.
#include <cstdint>

#include "definitions/name_index.h"

namespace tavir {

constexpr int kMacroTableCapacity = 10000;
constexpr int kMacroNameCapacity = 32;  // 31 characters and the NUL

struct MacroEntry {
    char name[kMacroNameCapacity];
    int32_t value;
};

// Names are not unique: a later duplicate is stored, but lookup always answers with the first.
// The index keeps lookups fast for the many names a debug window file and the table source ask
// for; addMacro and clearMacroTable keep it in step with the entries.
struct MacroTable {
    int32_t count;
    MacroEntry entries[kMacroTableCapacity];
    NameIndex<16384> index;
};

// Empties every entry (name "", value -1) and sets count to 0.
void clearMacroTable(MacroTable& table);

// Appends name (its first 31 characters) with value. Gives -1 and changes nothing when the
// table already holds 10000 entries, 0 otherwise.
int addMacro(MacroTable& table, const char* name, int32_t value);

// The value of the first entry whose name equals name exactly (case-sensitive), -1 when none.
// A name longer than 31 characters is compared by its first 31, as addMacro stored it.
int32_t lookupMacro(const MacroTable& table, const char* name);

}  // namespace tavir
