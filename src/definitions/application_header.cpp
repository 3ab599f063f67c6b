#include "definitions/application_header.h"

#include <cstring>

#include "base/parse_decimal.h"
#include "definitions/define_line.h"
#include "definitions/table_source.h"
#include "definitions/text_file.h"
#include "definitions/value_text.h"
#include "resources/definitions_texts.h"

namespace tavir {

namespace {

const char* const kSectionComments[kSectionKindCount][2] = {
    {"declaratie arraynummers voor signaalgroepen", nullptr},
    {"declaratie arraynummers voor detectoren", nullptr},
    {"declaratie arraynummers voor tijden", nullptr},
    {"declaratie arraynummers voor klokken", nullptr},
    {"declaratie arraynummers voor extra geheel getal parameter", "declaratie arraynummers voor eggparms"},
    {"declaratie arraynummers voor extra parameters", "declaratie arraynummers voor eparms"},
    {"declaratie arraynummers voor schakelaars", nullptr},
};

// Count lines, tested in this order. Each ends the section being read, whichever it is; those
// with a count field set it to the number of defines the section read has counted.
const struct {
    const char* word;
    int32_t ApplicationCounts::*count;
} kCountLines[] = {
    {"NUMBK", nullptr},
    {"NUMSG", &ApplicationCounts::numSignalGroups},
    {"NUMD", &ApplicationCounts::numDetectors},
    {"NUMSCH", &ApplicationCounts::numSwitches},
    {"NUMHF", nullptr},
    {"NUMEP", &ApplicationCounts::numEparms},
    {"NUMEGGP", &ApplicationCounts::numEggparms},
    {"NUMT ", &ApplicationCounts::numTimers},
    {"NUMKL", &ApplicationCounts::numClocks},
    {"NUMTL", nullptr},
};

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

template <typename Record, size_t kCapacity>
void storeRecord(std::array<Record, kCapacity>& table, int index, const char* name, int nameLength,
                 int32_t number) {
    if (index < 0 || index >= static_cast<int>(kCapacity)) return;
    Record& record = table[static_cast<size_t>(index)];
    // A name of more than 23 characters keeps its first 23; the table source's rows are
    // compared the same way, so the row with the whole name still finds its record.
    size_t length = nameLength < kObjectNameCapacity - 1 ? static_cast<size_t>(nameLength)
                                                         : static_cast<size_t>(kObjectNameCapacity - 1);
    std::memcpy(record.name, name, length);
    record.name[length] = '\0';
    record.arrayNumber = number;
}

void storeDefine(ApplicationTables& tables, SectionKind kind, int index, const char* name, int nameLength,
                 int32_t number) {
    switch (kind) {
        case kSectionSignalGroups:
            storeRecord(tables.signalGroups, index, name, nameLength, number);
            break;
        case kSectionDetectors:
            storeRecord(tables.detectors, index, name, nameLength, number);
            break;
        case kSectionTimers:
            storeRecord(tables.timers, index, name, nameLength, number);
            break;
        case kSectionClocks:
            storeRecord(tables.clocks, index, name, nameLength, number);
            break;
        case kSectionEggparms:
            storeRecord(tables.eggparms, index, name, nameLength, number);
            break;
        case kSectionEparms:
            storeRecord(tables.eparms, index, name, nameLength, number);
            break;
        case kSectionSwitches:
            storeRecord(tables.switches, index, name, nameLength, number);
            break;
        case kSectionKindCount:
            break;
    }
}

bool startsSection(const char* line, SectionKind kind) {
    for (const char* comment : kSectionComments[kind]) {
        if (comment && std::strstr(line, comment)) return true;
    }
    return false;
}

// Reads the defines that follow a section comment, up to a count line or the end of the file.
void readSection(PlainTextFile* file, ApplicationTables& tables, SectionKind kind) {
    // One flag, no nesting: the program is built for the pc environment, not for the controller.
    bool active = true;
    int index = 0;
    char line[kPlainLineCapacity];
    while (readPlainLine(file, line)) {
        if (std::strstr(line, "#ifdef pc_omgeving") || std::strstr(line, "#ifndef AUTOMAAT")) {
            active = true;
        } else if (std::strstr(line, "#ifndef pc_omgeving") || std::strstr(line, "#ifdef AUTOMAAT")) {
            active = false;
        } else if (std::strstr(line, "#else")) {
            active = !active;
        } else if (std::strstr(line, "#endif")) {
            active = true;
        }
        if (!active || !std::strstr(line, "#define")) continue;
        for (const auto& countLine : kCountLines) {
            if (std::strstr(line, countLine.word)) {
                if (countLine.count) tables.counts.*countLine.count = index;
                return;
            }
        }
        const char* name = nullptr;
        int nameLength = 0;
        // A number that cannot be read leaves the record's array number unset.
        int32_t number = -1;
        if (splitSectionDefine(line, &name, &nameLength, &number) < 2) continue;
        storeDefine(tables, kind, index, name, nameLength, number);
        ++index;
    }
}

void resetSignalGroupsAndDetectors(ApplicationTables& tables) {
    for (SignalGroupRecord& record : tables.signalGroups) {
        record.name[0] = '\0';
        record.arrayNumber = -1;
        record.vgTime = record.glTime = record.mgTime = -1.0;
        for (double& time : record.extraMgTimes) time = -1.0;
    }
    for (DetectorRecord& record : tables.detectors) {
        record.name[0] = '\0';
        record.arrayNumber = -1;
        record.gapTime1 = record.gapTime2 = record.occupancyTime = -1.0;
    }
}

// The define pass's handling of one line. Gives false after the message of a fatal define.
bool addHeaderDefine(MacroTable& macros, MessageLog& log, char* line) {
    char* name = nullptr;
    char* valueText = nullptr;
    if (!splitDefineLine(line, &name, &valueText)) return true;
    int32_t number = parseDecimal(valueText);
    if (number < 0) {
        ReportMessage(log, kSystem, text::kHeaderValueInvalidBegin, valueText, text::kHeaderValueInvalidEnd);
        return false;
    }
    if (addMacro(macros, name, number) != 0) {
        ReportMessage(log, kSystem, text::kDefinitionTableFullBegin, name, text::kDefinitionTableFullEnd);
        return false;
    }
    return true;
}

}  // namespace

int splitSectionDefine(const char* line, const char** name, int* nameLength, int32_t* number) {
    const char* p = line;
    int fields = 0;
    for (int word = 0; word < 2; ++word) {
        while (isSpace(*p)) ++p;
        if (*p == '\0') return fields;
        const char* begin = p;
        while (*p != '\0' && !isSpace(*p)) ++p;
        if (word == 1) {
            *name = begin;
            *nameLength = static_cast<int>(p - begin);
        }
        ++fields;
    }
    int32_t value = 0;
    if (!scanInteger(p, &value)) return fields;
    *number = value;
    return fields + 1;
}

bool readHeaderSections(ApplicationTables& tables, const char* headerPath) {
    resetSignalGroupsAndDetectors(tables);
    PlainTextFile* file = openPlainTextFile(headerPath);
    if (!file) return false;
    char line[kPlainLineCapacity];
    for (int k = 0; k < kSectionKindCount; ++k) {
        SectionKind kind = static_cast<SectionKind>(k);
        rewindPlainTextFile(file);
        while (readPlainLine(file, line)) {
            if (startsSection(line, kind)) readSection(file, tables, kind);
        }
    }
    closePlainTextFile(file);
    return true;
}

int loadApplicationHeader(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                          const char* headerPath) {
    TextFile* file = openTextFile(log, headerPath);
    if (!file) return -1;
    char line[kTextLineCapacity];
    while (readLine(file, line) > 0) {
        if (!addHeaderDefine(macros, log, line)) {
            closeTextFile(file);
            return -1;
        }
    }
    if (readHeaderSections(tables, headerPath)) loadTableSource(macros, tables, headerPath);
    closeTextFile(file);
    return 0;
}

}  // namespace tavir
