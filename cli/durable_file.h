#pragma once
// Files that must survive a kill or a power cut: what was written is on the disk when the call
// returns, and a file is replaced in one step, so it is never missing, not even for a moment.
#include <cstdio>
#include <string>

namespace tavir::cli {

// Out of the program's buffers and through the system's cache onto the disk.
bool flushToDisk(std::FILE* file);

// Renames from over to, replacing to; false when it did not happen.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace tavir::cli
