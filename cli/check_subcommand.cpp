#include <CLI/CLI.hpp>
#include <filesystem>

#include "check_command.h"

namespace tavir::cli {

namespace {

void addOne(CLI::App& app, const char* name, const char* description) {
    auto request = std::make_shared<CheckRequest>();
    auto paths = std::make_shared<std::vector<std::string>>();
    CLI::App* check = app.add_subcommand(name, description);
    check->add_option("paths", *paths,
                      "DIR: the application and its debug window files (default: the current directory); "
                      "or FILES: debug window files, with the application in --dir");
    check->add_option("--dir", request->dir, "Directory of KVAPDEF.H and KVAPTAB.C when FILES are named");
    check->callback([request, paths] {
        CheckRequest run = *request;
        std::error_code error;
        if (paths->size() == 1 && std::filesystem::is_directory(paths->front(), error)) {
            run.dir = paths->front();
        } else {
            run.files = *paths;
        }
        int code = checkExitCode(checkApplication(run, stdout));
        if (code != 0) throw CLI::RuntimeError(code);
    });
}

}  // namespace

void addCheckCommand(CLI::App& app) {
    addOne(app, "check",
           "Read the application and its debug window files as TAVIR.EXE does; print every message line, "
           "where TAVIR.EXE would cut something off, and a summary. Exit 0 clean, 1 with messages or "
           "warnings, 2 when files are refused");
    addOne(app, "check-definitions", "The old name of check");
}

}  // namespace tavir::cli
