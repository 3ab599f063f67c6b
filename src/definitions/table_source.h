#pragma once
// Reading the values of the application's parameters from its table source KVAPTAB.C: the file
// is not compiled but scanned for the known table names, and the rows under each name are
// matched to the object tables by their first token.
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

constexpr int kClearanceRowLimit = 1001;

// The table source's path: the drive and directory of headerPath ("\" and "/" both separate
// directories) followed by "KVAPTAB.C". Gives false when the result does not fit in capacity.
bool tableSourcePath(const char* headerPath, char* path, size_t capacity);

// Sets numClearances to 0 and reads the table source next to headerPath. A file that cannot be
// opened, a table that is missing, a row that matches nothing: all are passed over silently.
void loadTableSource(const MacroTable& macros, ApplicationTables& tables, const char* headerPath);

// Splits line in place at " ,\t\n" into at most maxTokens tokens; gives how many were found.
int splitRowTokens(char* line, char** tokens, int maxTokens);

}  // namespace tavir
