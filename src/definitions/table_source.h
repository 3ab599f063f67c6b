#pragma once
// Reading the values of the application's parameters from its table source KVAPTAB.C: the file
// is not compiled but scanned for the known table names, and the rows under each name are
// matched to the object tables by their first token.
#include <string>
#include <vector>

#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

constexpr int kClearanceRowLimit = 1001;

// The table source's path: the drive and directory of headerPath ("\" and "/" both separate
// directories) followed by "KVAPTAB.C". Gives false when the result does not fit in capacity.
bool tableSourcePath(const char* headerPath, char* path, size_t capacity);

// The tables the reading scans, in reading order.
enum TableSourceTable {
    kConflictTable,
    kSignalGroupTimesTable,
    kMgTimesTable,
    kExtraMgTimes1Table,
    kExtraMgTimes2Table,
    kExtraMgTimes3Table,
    kDetectionTable,
    kTimersTable,
    kClocksTable,
    kSwitchesTable,
    kEggparmsTable,
    kEparmsTable,
    kTableSourceTableCount
};

// What one reading of the table source found, for the checks of the command-line tools: the
// reading itself stays silent and does the same with or without a report.
struct TableSourceReport {
    bool opened = false;
    std::string path;
    // A row that set values: its table (a TableSourceTable), the record it set (a
    // SignalGroupRecord, ClearanceEntry, ... of the tables) and its line.
    struct Row {
        int table;
        const void* record;
        int line;
    };
    std::vector<Row> rows;
    // A place the reading passed over: a row with too few values, a row naming no entry, a table
    // that ends without STOP.
    struct Finding {
        int line;
        std::string text;
    };
    std::vector<Finding> findings;
};

// The name the table source gives the table ("CONFLICT_tabel[]", ...).
const char* tableSourceTableName(int table);

// Sets numClearances to 0 and reads the table source next to headerPath. A file that cannot be
// opened, a table that is missing, a row that matches nothing: all are passed over silently, and
// noted in report when one is given.
void loadTableSource(const MacroTable& macros, ApplicationTables& tables, const char* headerPath,
                     TableSourceReport* report = nullptr);

// Splits line in place at " ,\t\n" into at most maxTokens tokens; gives how many were found.
int splitRowTokens(char* line, char** tokens, int maxTokens);

}  // namespace tavir
