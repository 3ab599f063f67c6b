#pragma once
// tavir-cli check: an application and its debug window files read as the debugger reads them
// at its start-up, with every message line it would show, the places where it would silently
// cut something off, and a summary.
#include <cstdio>
#include <string>
#include <vector>

namespace tavir::cli {

struct CheckRequest {
    std::string dir = ".";           // the application, and its debug window files when files is empty
    std::vector<std::string> files;  // debug window files named on the command line
};

struct CheckResult {
    int problemLines = 0;  // message lines of type warning, error or system
    int cutOffs = 0;       // the checker's own warnings, those of the table source among them
    int windowsLoaded = 0;
    int windowsRefused = 0;           // a file the loader refused, or that could not be opened
    bool applicationRefused = false;  // KVAPDEF.H, or KVAPTAB.C, cannot be read
};

// Prints to out and gives what was found.
CheckResult checkApplication(const CheckRequest& request, std::FILE* out);

// The exit code: 2 when the application or a debug window file was refused, 1 when any problem
// or cut-off was reported, 0 when clean.
int checkExitCode(const CheckResult& result);

}  // namespace tavir::cli

namespace CLI {
class App;
}

namespace tavir::cli {

// Adds "check" (and its old name "check-definitions") to the program's subcommands.
void addCheckCommand(CLI::App& app);

}  // namespace tavir::cli
