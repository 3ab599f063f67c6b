#pragma once
// Reading the application definition header KVAPDEF.H: every define goes into the MacroTable,
// the sections give the object tables their names and array numbers, and then the table source
// KVAPTAB.C next to the header gives their values.
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

// The three passes over headerPath. Gives -1 when the header cannot be opened, or when a define
// has an invalid value or the MacroTable is full (after its message); 0 otherwise, whatever the
// section and table-source passes found.
int loadApplicationHeader(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                          const char* headerPath);

// The section pass alone (resets the signal-group and detector tables first). Gives false when
// the header cannot be opened, in which case the table-source pass is skipped as well.
bool readHeaderSections(ApplicationTables& tables, const char* headerPath);

// The kinds of object a header section declares, in the order the section pass reads them.
enum SectionKind {
    kSectionSignalGroups,
    kSectionDetectors,
    kSectionTimers,
    kSectionClocks,
    kSectionEggparms,
    kSectionEparms,
    kSectionSwitches,
    kSectionKindCount
};

// The "%s %s %d" split of a define line of a section: the first word, the name and a signed
// decimal number. Gives the number of fields read (0 to 3); *name and *nameLength describe the
// second word in place, *number is set only when the third field was read.
int splitSectionDefine(const char* line, const char** name, int* nameLength, int32_t* number);

}  // namespace tavir
