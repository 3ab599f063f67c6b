#include "definitions/builtin_macros.h"

#include <cstring>

#include "base/parse_decimal.h"
#include "definitions/define_line.h"
#include "definitions/macrodef_text.h"
#include "resources/definitions_texts.h"

namespace tavir {

namespace {

enum Category { kHelper, kOption, kState, kTime, kMutualTime, kUserDefined, kCounters, kCoupling, kNone };

// Searched in this order; the first keyword found decides. The search is case-sensitive, so
// "Onderlinge-tijd-macro" is not taken for "Tijd-macro".
const struct {
    const char* keyword;
    Category category;
} kCategoryKeywords[] = {
    {"Hulpfunctie-macro", kHelper},
    {"Optie-macro", kOption},
    {"Toestand-macro", kState},
    {"Tijd-macro", kTime},
    {"Onderlinge-tijd-macro", kMutualTime},
    {"User-defined-macro", kUserDefined},
    {"Tellers-macro", kCounters},
    {"Koppel-signalen", kCoupling},
};

// Copies the next non-empty line into buffer. Gives false at the end of the lines.
bool nextLine(MacroLineSource& source, char* buffer) {
    while (source.index >= 0 && source.index < source.lineCount) {
        const char* line = source.lines[source.index++];
        if (!line || line[0] == '\0') continue;
        size_t length = std::strlen(line);
        if (length > kMacroLineCapacity - 1) length = kMacroLineCapacity - 1;
        std::memcpy(buffer, line, length);
        buffer[length] = '\0';
        return true;
    }
    return false;
}

int fail(MacroLineSource& source) {
    source.index = 0;
    return -1;
}

}  // namespace

CategoryChoice chooseCategory(const char* headerLine) {
    Category category = kNone;
    for (const auto& entry : kCategoryKeywords) {
        if (std::strstr(headerLine, entry.keyword)) {
            category = entry.category;
            break;
        }
    }
    bool sg = std::strstr(headerLine, " SG ") != nullptr;
    bool bk = std::strstr(headerLine, " BK ") != nullptr;
    bool waarde = std::strstr(headerLine, " WAARDE ") != nullptr;
    bool lopend = std::strstr(headerLine, " LOPEND ") != nullptr;
    switch (category) {
        case kCoupling:
            return {0, nullptr};
        case kCounters:
            return {480, nullptr};
        case kOption:
            return {sg ? (bk ? 224 : 96) : (bk ? 160 : 0), nullptr};
        case kHelper:
            return {sg ? (bk ? 192 : 64) : (bk ? 128 : 32), nullptr};
        case kState:
            if (sg && !bk) return {256, nullptr};
            return {kNoBase, text::kStateMacrosNeedSignalGroup};
        case kTime:
        case kMutualTime: {
            int offset = category == kTime ? 0 : 64;
            if (sg && !bk && lopend && !waarde) return {288 + offset, nullptr};
            if (sg && !bk && waarde && !lopend) return {320 + offset, nullptr};
            return {kNoBase, text::kTimeMacrosNeedSignalGroup};
        }
        case kUserDefined:
            if (lopend && !waarde) return {416, nullptr};
            if (waarde && !lopend) return {448, nullptr};
            return {kNoBase, text::kUserMacrosNeedSequence};
        case kNone:
            break;
    }
    return {kNoBase, nullptr};
}

int parseMacroDefinitions(MacroTable& table, MessageLog& log, MacroLineSource& source) {
    SetMessageFile(log, nullptr);
    SetMessageLine(log, 0);
    source.index = 0;
    int base = kNoBase;
    char line[kMacroLineCapacity];
    while (nextLine(source, line)) {
        if (std::strcmp(line, "end") == 0) return 0;
        if (line[0] == '/' && line[1] == '*') {
            CategoryChoice choice = chooseCategory(line);
            if (choice.rejection) {
                ReportMessage(log, kError, line, choice.rejection);
                base = kNoBase;
            } else if (choice.base != kNoBase) {
                base = choice.base;
            }
            continue;
        }
        char* name = nullptr;
        char* valueText = nullptr;
        if (base == kNoBase || !splitDefineLine(line, &name, &valueText)) continue;
        int32_t number = parseDecimal(valueText);
        if (number < 0) {
            ReportMessage(log, kSystem, text::kMacroValueInvalidBegin, valueText,
                          text::kMacroValueInvalidEnd);
            return fail(source);
        }
        if (number > 31) {
            // The line holds a NUL where the name ends: it reads "#define", the blanks, the name.
            ReportMessage(log, kError, line, text::kMacroNumberTooLarge);
            return fail(source);
        }
        if (addMacro(table, name, base + number) != 0) {
            ReportMessage(log, kSystem, text::kDefinitionTableFullBegin, name, text::kDefinitionTableFullEnd);
            return fail(source);
        }
    }
    return 0;
}

int loadBuiltInMacros(MacroTable& table, MessageLog& log) {
    // The line index starts at 0 for every load, so each load has its own: loads on several
    // threads (a fleet audit) then never move each other's place in the text.
    MacroLineSource builtIn = {kMacrodefText, kMacrodefLineCount, 0};
    return parseMacroDefinitions(table, log, builtIn);
}

}  // namespace tavir
