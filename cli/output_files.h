#pragma once
// The files a run writes: each is tried before the first request goes out, so that a run never
// works a controller for an output it cannot keep; and a write that fails later ends the run as
// bad usage too (exit 2).
#include <stdexcept>
#include <string>
#include <vector>

#include "cli_reporter.h"

namespace tavir::cli {

// A write of an output failed (a full disk): the path and the reason.
class OutputFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Opens each path that is not empty for appending and closes it again; a file that was not there
// is removed afterwards. Gives false after saying the first path that cannot be written and why.
bool outputsWritable(const std::vector<std::string>& paths, StderrReporter& reporter);

}  // namespace tavir::cli
