#include "definitions/table_source.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "definitions/name_index.h"
#include "definitions/text_file.h"
#include "definitions/value_text.h"

namespace tavir {

namespace {

constexpr char kTableSourceName[] = "KVAPTAB.C";
constexpr int kMaxRowTokens = 6;

// Large enough for the largest table (5000 records) at a low load.
using RecordIndex = NameIndex<8192>;

struct Pass {
    const MacroTable& macros;
    ApplicationTables& tables;
    RecordIndex& index;
    // Which table the index describes now; rebuilt when a table of another kind comes up.
    const void* indexedTable;
    TableSourceReport* report;
    int table;       // the table being read, for the report
    int line;        // the line being read, counted from 1
    bool lineEnded;  // the last piece read ended its line
};

// What a row gives when its table passes it over by design (it names no signal group).
const char kPassedOver = 0;
const void* const kNotARow = &kPassedOver;

void note(Pass& pass, const std::string& text) {
    if (pass.report) pass.report->findings.push_back({pass.line, text});
}

template <typename Record, size_t kCapacity>
void indexTable(Pass& pass, const std::array<Record, kCapacity>& table, int32_t count) {
    if (pass.indexedTable == &table) return;
    pass.index.clear();
    int usable = usableCount(count, static_cast<int>(kCapacity));
    auto nameAt = [&table](int at) { return table[static_cast<size_t>(at)].name; };
    for (int i = 0; i < usable; ++i) pass.index.insert(i, nameAt);
    pass.indexedTable = &table;
}

// The first of the table's counted records named name, or none. Stored names hold at most 23
// characters, so a longer name is compared by its first 23.
template <typename Record, size_t kCapacity>
Record* findRecord(Pass& pass, std::array<Record, kCapacity>& table, int32_t count, const char* name) {
    indexTable(pass, table, count);
    size_t length = std::strlen(name);
    if (length > kObjectNameCapacity - 1) length = kObjectNameCapacity - 1;
    int at = pass.index.find(name, length, [&table](int i) { return table[static_cast<size_t>(i)].name; });
    return at >= 0 ? &table[static_cast<size_t>(at)] : nullptr;
}

// A value of the tables with the "NG" marker: -1.0 (unset) for a token that holds "NG".
double markedTime(const char* token) {
    return std::strstr(token, "NG") ? -1.0 : textToDouble(token);
}

// The array number of an MG or detector row whose section define had none.
template <typename Record>
void takeArrayNumberFromMacros(const Pass& pass, Record& record, const char* name) {
    if (record.arrayNumber != -1) return;
    int32_t value = lookupMacro(pass.macros, name);
    if (value != -1) record.arrayNumber = value;
}

// A clearance row counts only between two real signal groups: the number from the third
// character of each name on (the 02 of SG02) must not be 0.
bool isSignalGroupNumbered(const char* name) {
    return std::strlen(name) >= 3 && textToInteger(name + 2) != 0;
}

void copyClearanceName(char* field, const char* name) {
    size_t length = std::strlen(name);
    if (length > kClearanceNameCapacity - 1) length = kClearanceNameCapacity - 1;
    std::memcpy(field, name, length);
    field[length] = '\0';
}

const void* clearanceRow(Pass& pass, char** token) {
    ApplicationTables& t = pass.tables;
    if (!isSignalGroupNumbered(token[0]) || !isSignalGroupNumbered(token[1])) return kNotARow;
    if (t.numClearances < 0 || t.numClearances >= kClearanceCapacity) return nullptr;
    ClearanceEntry& entry = t.clearances[static_cast<size_t>(t.numClearances)];
    // A name the header does not define leaves its number as it was.
    int32_t from = lookupMacro(pass.macros, token[0]);
    if (from != -1) entry.fromNumber = from;
    int32_t to = lookupMacro(pass.macros, token[1]);
    if (to != -1) entry.toNumber = to;
    copyClearanceName(entry.fromName, token[0]);
    copyClearanceName(entry.toName, token[1]);
    entry.clearanceTime = static_cast<double>(textToFloat(token[3]));
    ++t.numClearances;
    return &entry;
}

const void* signalGroupTimesRow(Pass& pass, char** token) {
    if (!std::strstr(token[0], "SG")) return kNotARow;
    SignalGroupRecord* record =
        findRecord(pass, pass.tables.signalGroups, pass.tables.counts.numSignalGroups, token[0]);
    if (!record) return nullptr;
    record->vgTime = textToDouble(token[2]);
    record->glTime = textToDouble(token[4]);
    return record;
}

const void* mgTimesRow(Pass& pass, char** token) {
    if (!std::strstr(token[0], "SG")) return kNotARow;
    SignalGroupRecord* record =
        findRecord(pass, pass.tables.signalGroups, pass.tables.counts.numSignalGroups, token[0]);
    if (!record) return nullptr;
    record->mgTime = markedTime(token[1]);
    for (int k = 0; k < 3; ++k) record->extraMgTimes[k] = markedTime(token[2 + k]);
    takeArrayNumberFromMacros(pass, *record, token[0]);
    return record;
}

// The extra MG tables: first is the index of their first extra MG time (3, 6 or 9).
const void* extraMgTimesRow(Pass& pass, char** token, int first) {
    if (!std::strstr(token[0], "SG")) return kNotARow;
    SignalGroupRecord* record =
        findRecord(pass, pass.tables.signalGroups, pass.tables.counts.numSignalGroups, token[0]);
    if (!record) return nullptr;
    for (int k = 0; k < 3; ++k) record->extraMgTimes[first + k] = markedTime(token[1 + k]);
    return record;
}
const void* extraMgTimes1Row(Pass& pass, char** token) {
    return extraMgTimesRow(pass, token, 3);
}
const void* extraMgTimes2Row(Pass& pass, char** token) {
    return extraMgTimesRow(pass, token, 6);
}
const void* extraMgTimes3Row(Pass& pass, char** token) {
    return extraMgTimesRow(pass, token, 9);
}

const void* detectorRow(Pass& pass, char** token) {
    if (!std::strstr(token[0], "SG")) return kNotARow;
    DetectorRecord* record =
        findRecord(pass, pass.tables.detectors, pass.tables.counts.numDetectors, token[0]);
    if (!record) return nullptr;
    record->occupancyTime = markedTime(token[3]);
    record->gapTime1 = markedTime(token[4]);
    record->gapTime2 = markedTime(token[5]);
    takeArrayNumberFromMacros(pass, *record, token[0]);
    return record;
}

const void* timerRow(Pass& pass, char** token) {
    TimerRecord* record = findRecord(pass, pass.tables.timers, pass.tables.counts.numTimers, token[0]);
    if (record) record->time = textToDouble(token[1]);
    return record;
}

const void* clockRow(Pass& pass, char** token) {
    ClockRecord* record = findRecord(pass, pass.tables.clocks, pass.tables.counts.numClocks, token[0]);
    if (!record) return nullptr;
    record->time1 = textToDouble(token[1]);
    record->time2 = textToDouble(token[2]);
    return record;
}

const void* switchRow(Pass& pass, char** token) {
    SwitchRecord* record = findRecord(pass, pass.tables.switches, pass.tables.counts.numSwitches, token[0]);
    if (record) record->value = std::strstr(token[1], "AAN") ? 1 : 0;
    return record;
}

const void* eggparmRow(Pass& pass, char** token) {
    EggparmRecord* record = findRecord(pass, pass.tables.eggparms, pass.tables.counts.numEggparms, token[0]);
    if (record) record->value = textToInteger(token[1]);
    return record;
}

const void* eparmRow(Pass& pass, char** token) {
    EparmRecord* record = findRecord(pass, pass.tables.eparms, pass.tables.counts.numEparms, token[0]);
    if (record) record->value = textToDouble(token[1]);
    return record;
}

const char* const kNoExclusions[] = {nullptr};
const char* const kExtraMgTables[] = {"E_MG_TIJDEN_tabel[]", "E2_MG_TIJDEN_tabel[]", "E3_MG_TIJDEN_tabel[]",
                                      nullptr};
const char* const kSignalGroupTables[] = {"SG_TIJDEN_tabel[]",    "MG_TIJDEN_tabel[]",
                                          "E_MG_TIJDEN_tabel[]",  "E2_MG_TIJDEN_tabel[]",
                                          "E3_MG_TIJDEN_tabel[]", nullptr};

enum RowShape { kOneRowPerLine, kClearanceRows, kPairsPerLine };

struct TableDescription {
    const char* name;
    const char* const* exclusions;  // header lines holding one of these are passed over
    int tokens;                     // a row with fewer is skipped
    RowShape shape;
    const void* (*row)(Pass&, char**);
};

// In processing order.
const TableDescription kTables[] = {
    {"CONFLICT_tabel[]", kNoExclusions, 4, kClearanceRows, clearanceRow},
    {"SG_TIJDEN_tabel[]", kNoExclusions, 6, kOneRowPerLine, signalGroupTimesRow},
    {"MG_TIJDEN_tabel[]", kExtraMgTables, 5, kOneRowPerLine, mgTimesRow},
    {"E_MG_TIJDEN_tabel[]", kNoExclusions, 4, kOneRowPerLine, extraMgTimes1Row},
    {"E2_MG_TIJDEN_tabel[]", kNoExclusions, 4, kOneRowPerLine, extraMgTimes2Row},
    {"E3_MG_TIJDEN_tabel[]", kNoExclusions, 4, kOneRowPerLine, extraMgTimes3Row},
    {"SG_DETECTIE_tabel[]", kNoExclusions, 6, kOneRowPerLine, detectorRow},
    {"TIJDEN_tabel[]", kSignalGroupTables, 2, kOneRowPerLine, timerRow},
    {"KLOKKEN_tabel[]", kNoExclusions, 3, kOneRowPerLine, clockRow},
    {"SCHAKELAAR_tabel", kNoExclusions, 2, kOneRowPerLine, switchRow},
    {"EGGPARMS_tabel", kNoExclusions, 2, kOneRowPerLine, eggparmRow},
    {"EPARMS_tabel", kNoExclusions, 2, kPairsPerLine, eparmRow},
};

static_assert(sizeof kTables / sizeof kTables[0] == kTableSourceTableCount, "one description per table");

bool isTableHeader(const char* line, const TableDescription& table) {
    if (!std::strstr(line, table.name)) return false;
    for (const char* const* other = table.exclusions; *other; ++other) {
        if (std::strstr(line, *other)) return false;
    }
    return true;
}

bool isTrimmed(char c) {
    return c == ' ' || c == '\n';
}

// Lines that are not rows: short ones, preprocessor lines, and lines that are one comment.
bool isSkippedLine(const char* line) {
    size_t length = std::strlen(line);
    if (length < 4) return true;
    const char* begin = line;
    while (*begin == ' ') ++begin;
    if (*begin == '#') return true;
    while (isTrimmed(*begin)) ++begin;
    const char* end = line + length;
    while (end > begin && isTrimmed(end[-1])) --end;
    return end - begin >= 2 && begin[0] == '/' && begin[1] == '*' && end[-2] == '*' && end[-1] == '/';
}

void readRow(Pass& pass, const TableDescription& table, char* row) {
    char* token[kMaxRowTokens];
    const int count = splitRowTokens(row, token, table.tokens);
    if (count < table.tokens) {
        if (count > 0)
            note(pass, std::string(table.name) + ": a row of " + std::to_string(count) +
                           " values gives no value (it needs " + std::to_string(table.tokens) + ")");
        return;
    }
    const void* record = table.row(pass, token);
    if (record == nullptr) {
        note(pass, std::string(table.name) + ": " + token[0] + " names no entry of the application");
    } else if (record != kNotARow && pass.report) {
        pass.report->rows.push_back({pass.table, record, pass.line});
    }
}

// An EPARMS line holds several "name, value," pairs: it is cut after every second comma, and a
// last piece with fewer than two commas is left out.
void readPairs(Pass& pass, const TableDescription& table, const char* line) {
    char piece[kPlainLineCapacity];
    const char* begin = line;
    int commas = 0;
    for (const char* p = line; *p; ++p) {
        if (*p != ',' || ++commas < 2) continue;
        size_t length = static_cast<size_t>(p + 1 - begin);
        std::memcpy(piece, begin, length);
        piece[length] = '\0';
        readRow(pass, table, piece);
        begin = p + 1;
        commas = 0;
    }
}

// A line longer than the buffer comes in pieces that count as one line.
bool readCountedLine(PlainTextFile* file, Pass& pass, char* line) {
    if (!readPlainLine(file, line)) return false;
    if (pass.lineEnded) ++pass.line;
    const size_t length = std::strlen(line);
    pass.lineEnded = length > 0 && line[length - 1] == '\n';
    return true;
}

void readTable(PlainTextFile* file, Pass& pass, const TableDescription& table) {
    char line[kPlainLineCapacity];
    rewindPlainTextFile(file);
    pass.line = 0;
    pass.lineEnded = true;
    bool found = false;
    while (!found && readCountedLine(file, pass, line)) found = isTableHeader(line, table);
    if (!found || std::strstr(line, "STOP")) return;
    for (;;) {
        // At most 1001 clearance rows: the check comes before each line is read.
        if (table.shape == kClearanceRows && pass.tables.numClearances > kClearanceRowLimit - 1) {
            if (pass.report && readCountedLine(file, pass, line) && !std::strstr(line, "STOP"))
                note(pass, std::string(table.name) + ": the rows from here on are not read, past the first " +
                               std::to_string(kClearanceRowLimit));
            return;
        }
        if (!readCountedLine(file, pass, line)) {
            note(pass, std::string(table.name) + ": the table ends without STOP at the end of the file");
            return;
        }
        if (std::strstr(line, "STOP")) return;
        if (isSkippedLine(line)) continue;
        if (table.shape == kPairsPerLine) {
            readPairs(pass, table, line);
        } else {
            readRow(pass, table, line);
        }
    }
}

// The value fields that the section pass does not reset go back to what they hold when the
// program starts, so that no value of an earlier table source survives a reload.
void clearUnresetValues(ApplicationTables& tables) {
    for (TimerRecord& record : tables.timers) record.time = 0.0;
    for (ClockRecord& record : tables.clocks) record.time1 = record.time2 = 0.0;
    for (SwitchRecord& record : tables.switches) record.value = 0;
    for (EparmRecord& record : tables.eparms) record.value = 0.0;
    for (EggparmRecord& record : tables.eggparms) record.value = 0;
}

}  // namespace

int splitRowTokens(char* line, char** tokens, int maxTokens) {
    static const char kDelimiters[] = " ,\t\n";
    int count = 0;
    char* p = line;
    while (count < maxTokens) {
        p += std::strspn(p, kDelimiters);
        if (*p == '\0') break;
        tokens[count++] = p;
        p += std::strcspn(p, kDelimiters);
        if (*p == '\0') break;
        *p++ = '\0';
    }
    return count;
}

bool tableSourcePath(const char* headerPath, char* path, size_t capacity) {
    size_t directoryLength = 0;
    for (size_t i = 0; headerPath[i]; ++i) {
        if (headerPath[i] == '\\' || headerPath[i] == '/') directoryLength = i + 1;
    }
    // A bare drive ("C:KVAPDEF.H") keeps its drive.
    if (directoryLength == 0 && headerPath[0] != '\0' && headerPath[1] == ':') directoryLength = 2;
    if (directoryLength + sizeof kTableSourceName > capacity) return false;
    std::memcpy(path, headerPath, directoryLength);
    std::memcpy(path + directoryLength, kTableSourceName, sizeof kTableSourceName);
    return true;
}

const char* tableSourceTableName(int table) {
    return kTables[table].name;
}

void loadTableSource(const MacroTable& macros, ApplicationTables& tables, const char* headerPath,
                     TableSourceReport* report) {
    tables.numClearances = 0;
    char path[1024];
    if (!tableSourcePath(headerPath, path, sizeof path)) return;
    if (report) report->path = path;
    PlainTextFile* file = openPlainTextFile(path);
    if (!file) return;
    if (report) report->opened = true;
    std::unique_ptr<RecordIndex> index(new (std::nothrow) RecordIndex);
    if (!index) {
        closePlainTextFile(file);
        return;
    }
    clearUnresetValues(tables);
    Pass pass{macros, tables, *index, nullptr, report, 0, 0, true};
    for (const TableDescription& table : kTables) {
        readTable(file, pass, table);
        ++pass.table;
    }
    closePlainTextFile(file);
}

}  // namespace tavir
