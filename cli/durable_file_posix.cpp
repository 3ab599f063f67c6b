#include <unistd.h>

#include <cstdio>

#include "durable_file.h"

namespace tavir::cli {

bool flushToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace tavir::cli
