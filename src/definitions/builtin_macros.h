#pragma once
// Reading the macro definition text into a MacroTable: category header comments set the base,
// each "#define name number" below them adds name = base + number.
#include "base/message_log.h"
#include "definitions/macro_table.h"

namespace tavir {

constexpr int kMacroLineCapacity = 256;  // a longer line is cut to its first 255 characters

// Where the parse takes its lines from. index is the next line to read; a parse sets it to 0
// when it starts and again when it fails. Running out of lines ends the text like "end".
struct MacroLineSource {
    const char* const* lines;
    int lineCount;
    int index;
};

// What a header comment line says about the category base. base kNoBase with no rejection: the
// line names no category and the base stays as it was. A rejection (the category's message
// text) comes with base kNoBase: the defines under such a header are passed over until the next
// good header, so that no name gets a function code of the wrong category.
constexpr int kNoBase = -1;
struct CategoryChoice {
    int base;
    const char* rejection;
};
CategoryChoice chooseCategory(const char* headerLine);

// Parses the lines of source into table. Messages go to log with type 3 or 4 and no file or line
// prefix. Gives 0 at "end" (or the end of the lines), -1 at the first fatal error.
int parseMacroDefinitions(MacroTable& table, MessageLog& log, MacroLineSource& source);

// parseMacroDefinitions over the built-in text.
int loadBuiltInMacros(MacroTable& table, MessageLog& log);

}  // namespace tavir
