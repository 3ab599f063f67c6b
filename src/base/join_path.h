#pragma once
#include <string>

namespace tavir {

constexpr int kPathCapacity = 1024;

// dir and name joined with "\" (none when dir is empty or already ends in "\" or "/").
// Gives nullptr when strlen(dir) + strlen(name) reaches 1024. The result lives in one shared
// buffer that the next call overwrites, so the caller copies what it keeps.
const char* JoinPath(const char* dir, const char* name);

// dir ending in the separator of the system the program runs on ("/" on POSIX), unless it is empty
// or ends in "\" or "/" already. tavir-sim and tavir-cli hand this to JoinPath, so the paths they
// build and print are the system's own; the debugger keeps its "\".
std::string withHostSeparator(const std::string& dir);

}  // namespace tavir
