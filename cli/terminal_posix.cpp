#include <unistd.h>

#include "cli_reporter.h"

namespace tavir::cli {

bool takesCursorSequences(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

}  // namespace tavir::cli
