#pragma once

namespace tavir {

// The built-in macro definition text "macrodef.qtz", one entry per line (without line ends),
// closed by the line "end".
extern const char* const kMacrodefText[];
extern const int kMacrodefLineCount;

}  // namespace tavir
