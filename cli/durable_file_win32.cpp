#include <io.h>
#include <windows.h>

#include <cstdio>

#include "durable_file.h"

namespace tavir::cli {

bool flushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

// rename does not replace an existing file on Windows; this replaces it in one step.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace tavir::cli
