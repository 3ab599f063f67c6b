#pragma once
#include <cstdio>
#include <string>

namespace tavir {

// Reads the built-in macros and the application's KVAPDEF.H and KVAPTAB.C in dir exactly as the
// debugger does at start-up, prints every message line to out, then a summary of what was found.
// Gives the process exit code: 0 when the files load without any message, 1 when they load with
// messages, 2 when the debugger would refuse them.
int checkDefinitions(const std::string& dir, std::FILE* out);

}  // namespace tavir
