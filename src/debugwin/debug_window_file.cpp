#include "debugwin/debug_window_file.h"

#include <cstdio>
#include <cstring>

#include "base/parse_decimal.h"
#include "definitions/text_file.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

constexpr int kMaxBlock = 47;
constexpr int kMaxSignalGroup = 255;
constexpr int kMaxInstance = 26000;  // EPARM, EGGPARM and intersection numbers

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
    return c == '\n' || c == '\0';
}
// Printable and not blank: the characters of a label word, a name, or what may not follow a
// number. Bytes above 127 count as printable, so that a label keeps its CP1252 letters (ë, ï)
// inside one word.
bool isWordCharacter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u > 0x20 && u < 0x7F) || u >= 0x80;
}

// A message whose text has one number filled in, and an optional fixed tail.
void reportNumber(MessageLog& log, int type, const char* format, int number, const char* tail = nullptr) {
    char text[128];
    std::snprintf(text, sizeof text, format, number);
    ReportMessage(log, type, text, tail);
}

struct Loader {
    ChildWindowData& child;
    MessageLog& log;
    const MacroTable& macros;

    // A message whose text has one or two numbers filled in, and an optional fixed tail.
    void report(int type, const char* format, int first, const char* tail = nullptr) {
        reportNumber(log, type, format, first, tail);
    }
    void report(int type, const char* format, int first, int second, const char* tail) {
        char text[128];
        std::snprintf(text, sizeof text, format, first, second);
        ReportMessage(log, type, text, tail);
    }
};

// The largest column and row reached by an item or a label.
struct Extent {
    int column = 0;
    int row = 0;
    void reach(int lastColumn, int atRow) {
        if (lastColumn > column) column = lastColumn;
        if (atRow > row) row = atRow;
    }
};

// An item field starting at line[p], the first tilde. Gives the position after its two digits, or
// -1 after reporting why the file cannot be read.
int readItemField(Loader& l, const char* line, int p, int row, Extent& extent) {
    ChildWindowData& child = l.child;
    if (child.itemCount >= kMaxDebugItems) {
        l.report(kError, text::kTooManyItems, kMaxDebugItems);
        return -1;
    }
    const int column = p;
    int tildes = 0;
    while (line[p] == '~' && tildes < kMaxItemTildes) {
        ++p;
        ++tildes;
    }
    if (line[p] == '~') {
        l.report(kError, text::kScreenItemTooLong, kMaxItemTildes);
        return -1;
    }
    if (!isDigit(line[p]) || !isDigit(line[p + 1])) {
        ReportMessage(l.log, kError, text::kTwoDigitsExpected);
        return -1;
    }
    DebugItem& item = child.items[child.itemCount];
    item = DebugItem{};
    item.index = child.itemCount;
    item.flags = kItemMonitored;
    item.itemNumber = (line[p] - '0') * 10 + (line[p + 1] - '0');
    item.width = tildes + 1;
    item.column = column;
    item.row = row;
    ++child.itemCount;
    extent.reach(column + tildes, row);
    return p + 2;
}

// A label word starting at line[p]. Gives the position after it, or -1 after reporting that the
// window has too many labels.
int readLabelWord(Loader& l, const char* line, int p, int row, Extent& extent) {
    ChildWindowData& child = l.child;
    if (child.labelCount >= kMaxLabels) {
        l.report(kError, text::kTooManyLabels, kMaxLabels);
        return -1;
    }
    const int column = p;
    char word[kTextLineCapacity];
    int length = 0;
    while (isWordCharacter(line[p]) && line[p] != '~') word[length++] = line[p++];
    word[length] = '\0';
    // The words of 24 lines always fit; the check keeps the copy within them all the same.
    if (child.labelTextLength + length < kLabelTextCapacity) {
        std::memcpy(child.labelTexts + child.labelTextLength, word, static_cast<size_t>(length) + 1);
        child.labels[child.labelCount] = {nullptr, length, column, row, child.labelTextLength};
        child.labelTextLength += length + 1;
        ++child.labelCount;
    }
    extent.reach(column + length, row);
    return p;
}

// The 24 screen rows. Gives the number of items, or -1 when the file cannot be read.
int readScreenPart(Loader& l, TextFile* file) {
    char line[kTextLineCapacity];
    Extent extent;
    for (int row = 0; row < kScreenRows; ++row) {
        if (readLine(file, line) <= 0) {
            l.report(kError, text::kScreenLineUnreadable, kTextLineCapacity);
            return -1;
        }
        // The position in the line is the screen column.
        int p = 0;
        while (!isLineEnd(line[p])) {
            const char c = line[p];
            if (c == '~') {
                p = readItemField(l, line, p, row, extent);
                if (p < 0) return -1;
            } else if (isWordCharacter(c)) {
                p = readLabelWord(l, line, p, row, extent);
                if (p < 0) return -1;
            } else if (c == '\t') {
                // To the next multiple of 8, passing over what lies between, but never past the
                // end of the line.
                const int stop = (p / 8 + 1) * 8;
                for (++p; p < stop && !isLineEnd(line[p]);) ++p;
            } else {
                ++p;
            }
        }
    }
    l.child.columns = extent.column + 4;
    l.child.rows = extent.row + 2;
    return l.child.itemCount;
}

// One field of a definition line at *p: a number or a name from the MacroTable; -1 when absent
// or unreadable.
int32_t readField(Loader& l, const char*& p) {
    while (isBlank(*p)) ++p;
    if (isLineEnd(*p)) return -1;
    if (!isDigit(*p)) {
        char name[kTextLineCapacity];
        int length = 0;
        while (isWordCharacter(*p)) name[length++] = *p++;
        name[length] = '\0';
        const int32_t value = lookupMacro(l.macros, name);
        if (value == -1)
            ReportMessage(l.log, kWarning, text::kNameUndefinedBegin, name, text::kNameUndefinedEnd);
        return value;
    }
    const char* end = nullptr;
    const int32_t number = parseDecimal(p, &end);
    if (isWordCharacter(*end)) {
        // The position stays, so every later field of the line meets the same text again.
        char rest[kTextLineCapacity];
        size_t length = std::strcspn(p, "\n");
        std::memcpy(rest, p, length);
        rest[length] = '\0';
        ReportMessage(l.log, kWarning, text::kDigitsAndLetters, rest);
        return -1;
    }
    p = end;
    return number;
}

enum class LineResult { kNext, kStop };

// One definition line (it begins with a digit). kStop ends the definition part without item
// controls.
LineResult readItemLine(Loader& l, const char* line) {
    if (!isDigit(line[1]) || !isBlank(line[2])) {
        ReportMessage(l.log, kWarning, text::kTwoDigitsAndBlankExpected);
        return LineResult::kNext;
    }
    const int number = parseDecimal(line);
    const char* p = line + 2;
    int32_t fields[3];
    for (int32_t& field : fields) field = readField(l, p);
    const bool instanceNumbers =
        std::strstr(line, "inst_EPARM") || std::strstr(line, "inst_EGGPARM") || std::strstr(line, "REGSTAT");
    const bool doubled = std::strstr(line, "DVWD") != nullptr;

    ChildWindowData& child = l.child;
    DebugItem* item = nullptr;
    for (int i = 0; i < child.itemCount && !item; ++i) {
        if (child.items[i].itemNumber == number) item = &child.items[i];
    }
    if (!item) {
        l.report(kWarning, text::kItemNotOnWindow, number);
        return LineResult::kNext;
    }
    if (item->functionCode >= 0) {
        l.report(kWarning, text::kItemDefinedBefore, number);
        return LineResult::kNext;
    }

    const int32_t functionCode = fields[0];
    if (functionCode < 0) {
        l.report(kWarning, text::kFunctionCodeMissing, number);
        return LineResult::kNext;
    }
    if (functionCode >= 512) {
        l.report(kWarning, text::kFunctionCodeTooLarge, number, functionCode, text::kFunctionCodeLimit);
        return LineResult::kNext;
    }
    const CategoryAttributes needs = categoryAttributes(functionCode);
    int32_t signalGroup = -1;
    int32_t block = -1;
    if (needs.needsSignalGroup) {
        signalGroup = fields[1];
        if (signalGroup < 0) {
            l.report(kError, text::kSignalGroupMissing, number);
            return LineResult::kNext;
        }
        if (!instanceNumbers && signalGroup > kMaxSignalGroup) {
            l.report(kWarning, text::kSignalGroupTooLarge, number, signalGroup, text::kSignalGroupLimit);
            return LineResult::kNext;
        }
        if (instanceNumbers && signalGroup > kMaxInstance) {
            l.report(kWarning, text::kInstanceTooLarge, number, signalGroup, text::kInstanceLimit);
            return LineResult::kNext;
        }
    }
    if (needs.needsBlock) {
        block = needs.needsSignalGroup ? fields[2] : fields[1];
        if (block < 0) {
            l.report(kError, text::kBlockMissing, number);
            return LineResult::kStop;
        }
        if (block > kMaxBlock) {
            l.report(kError, text::kBlockTooLarge, number, block, text::kBlockLimit);
            return LineResult::kNext;
        }
    }
    item->functionCode = functionCode;
    item->signalGroup = signalGroup;
    item->block = block;
    item->isCheckbox = needs.isCheckbox ? 1 : 0;
    if (doubled) {
        item->doubledDisplay = 1;
        item->width += 4;
    }
    return LineResult::kNext;
}

// The lines after the screen part; at their end the defined items are given their controls.
void readDefinitionPart(Loader& l, TextFile* file) {
    char line[kTextLineCapacity];
    int result;
    do {
        result = readLine(file, line);
    } while (result > 0 && !isDigit(line[0]));
    if (result <= 0) {
        ReportMessage(l.log, kError, text::kDefinitionsMissing);
        return;
    }
    do {
        // Lines that do not begin with a digit are comments.
        if (isDigit(line[0]) && readItemLine(l, line) == LineResult::kStop) return;
    } while (readLine(file, line) > 0);

    SetMessageLine(l.log, 0);
    ChildWindowData& child = l.child;
    for (int i = 0; i < child.itemCount; ++i) {
        DebugItem& item = child.items[i];
        if (item.functionCode < 0) {
            l.report(kWarning, text::kDefinitionMissing, item.itemNumber);
            continue;
        }
        item.flags |= kItemHasControl;
    }
}

// The index from a received record to its item. Gives -1 when there is no memory for it.
int buildItemIndex(Loader& l) {
    ChildWindowData& child = l.child;
    child.itemIndex = CreateItemIndex(child.itemCount);
    if (!child.itemIndex) return -1;
    for (int i = 0; i < child.itemCount; ++i) {
        DebugItem& item = child.items[i];
        if (item.functionCode < 0) continue;
        if (InsertItem(child.itemIndex, requestKey(item), &item) < 0) {
            char number[16];
            std::snprintf(number, sizeof number, "%d", item.itemNumber);
            ReportMessage(l.log, kWarning, text::kItemFunctionTakenBegin, number,
                          text::kItemFunctionTakenEnd);
        }
    }
    // One lookup sorts the index here, so that the thread that delivers values only reads it.
    FindItem(child.itemIndex, ValueRecord{});
    return 0;
}

}  // namespace

int loadDebugWindowFile(ChildWindowData& child, const char* path, MessageLog& log, const MacroTable& macros) {
    Loader l{child, log, macros};
    TextFile* file = openTextFile(log, path);
    if (!file) return -1;
    const int items = readScreenPart(l, file);
    if (items <= 0) {
        closeTextFile(file);
        return items;
    }
    readDefinitionPart(l, file);
    closeTextFile(file);
    return buildItemIndex(l);
}

int wantedControls(const ChildWindowData& child) {
    int wanted = child.labelCount;
    for (int i = 0; i < child.itemCount; ++i) {
        if (child.items[i].flags & kItemHasControl) ++wanted;
    }
    return wanted;
}

namespace {

int32_t controlSlots(const ChildWindowData& child) {
    return child.itemCount + child.labelCount;
}

// Makes the control of slot (an item index, or itemCount plus a label number) into control; false
// when the slot is an item without a control.
bool makeSlot(ChildWindowData& child, int32_t slot, DebugWindowBuilder& builder, ControlHandle& control) {
    if (slot < child.itemCount) {
        DebugItem& item = child.items[slot];
        if ((item.flags & kItemHasControl) == 0) return false;
        control = item.window = builder.addItem(item);
        return true;
    }
    const int label = slot - child.itemCount;
    control = child.labels[label].window = builder.addLabel(label, labelText(child, label));
    return true;
}

}  // namespace

int makeWindowControls(ChildWindowData& child, const char* path, MessageLog& log, DebugWindowBuilder& builder,
                       ControlMaking& making) {
    // A window may be shown while a file is being read, for example behind a message box: that
    // file's prefixes come back afterwards.
    const MessageLog prefixes = log;
    SetMessageFile(log, path);
    SetMessageLine(log, 0);
    int labelsLeftOut = 0;
    for (; making.next < controlSlots(child); ++making.next) {
        ControlHandle control = nullptr;
        if (!makeSlot(child, making.next, builder, control)) continue;
        if (control != nullptr) {
            ++making.made;
        } else if (making.next >= child.itemCount) {
            ++labelsLeftOut;
        } else {
            DebugItem& item = child.items[making.next];
            item.flags &= ~kItemHasControl;
            reportNumber(log, kWarning, text::kItemControlFailed, item.itemNumber);
        }
    }
    if (labelsLeftOut > 0) reportNumber(log, kWarning, text::kLabelsLeftOut, labelsLeftOut);
    std::memcpy(log.messageFileContext, prefixes.messageFileContext, sizeof log.messageFileContext);
    std::memcpy(log.messageLineContext, prefixes.messageLineContext, sizeof log.messageLineContext);
    return making.made;
}

int makeWindowControls(ChildWindowData& child, const char* path, MessageLog& log,
                       DebugWindowBuilder& builder) {
    ControlMaking making;
    return makeWindowControls(child, path, log, builder, making);
}

int makeNextControl(ChildWindowData& child, ControlMaking& making, DebugWindowBuilder& builder) {
    for (; making.next < controlSlots(child); ++making.next) {
        ControlHandle control = nullptr;
        if (!makeSlot(child, making.next, builder, control)) continue;
        if (control == nullptr) return -1;
        ++making.next;
        ++making.made;
        return 1;
    }
    return 0;
}

}  // namespace tavir
