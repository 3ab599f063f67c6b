#pragma once

namespace tavir {

// Splits a "#define" line in place: "#define" at column 0, blanks (spaces and tabs), the name
// (printable characters other than the blank), blanks, the value text (printable characters
// other than the blank). Both runs are cut off with a NUL where they end. Gives false, and
// leaves the line as it was, for a line that is not of this shape (another directive, a define
// without a value such as an include guard, a name run into an unprintable byte).
bool splitDefineLine(char* line, char** name, char** valueText);

}  // namespace tavir
