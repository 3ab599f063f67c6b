// tavir-cli watch: one debug window file with live values, as the debugger's child window shows
// it. The items are asked for as the window's display start asks (Read, then Monitor), and
// stopped as the window's closing stops them.
#include <chrono>
#include <cstdio>
#include <vector>

#include "base/message_log.h"
#include "cli_reporter.h"
#include "commands.h"
#include "debugwin/display_start.h"
#include "received_values.h"
#include "text_window.h"
#include "tool_session.h"
#include "watch_screen.h"

namespace tavir::cli {

namespace {

// The loader's lines, shown only when it refuses the file.
struct LoaderLines : MessageSink {
    std::vector<std::string> lines;
    int addLine(const char* text) override {
        lines.emplace_back(text);
        return static_cast<int>(lines.size()) - 1;
    }
};

struct WatchOptions {
    std::string file;
    double onceSeconds = -1;  // below 0: live on a terminal
    ToolOptions tool;
};

// The application lies next to its debug window files unless --dir says otherwise.
std::string directoryOf(const std::string& file) {
    const size_t slash = file.find_last_of("/\\");
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash + 1);
}

// Gives the values that arrived to the view until the time is up (or Ctrl+C), then prints it.
void printOnce(CliLink& link, ReceivedValues& values, WatchView& view, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    link.awaitAnswers();
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() > 0) link.waitFor([] { return interrupted(); }, static_cast<int>(left.count()));
    for (const ReceivedValue& value : values.take()) view.show(value.record);
    for (const std::string& line : view.lines()) std::printf("%s\n", terminalText(line.c_str()).c_str());
    std::fflush(stdout);
}

int watch(const WatchOptions& options, ReceivedValues& values) {
    std::unique_ptr<TextWindow> window;
    // The window is loaded before the link opens: a refused file asks the controller nothing.
    auto load = [&](ToolSession& session) {
        LoaderLines lines;
        MessageLog log;
        log.sink = &lines;
        window = loadTextWindow(options.file.c_str(), log, *session.macros);
        if (window) return kExitDone;
        for (const std::string& line : lines.lines) session.reporter.say(terminalText(line.c_str()));
        session.reporter.say(options.file + ": the debug window file cannot be loaded");
        return kExitUsage;
    };
    return runToolSession(
        options.tool,
        [&](ToolSession& session, ToolContext&) {
            WatchView view(*window);
            CliLink& link = *session.link;
            link.routeValuesTo(&values);
            installInterruptHandler();
            requestItemValues(window->data, link);

            int code = kExitDone;
            const bool terminal = isTerminal(stdout);
            if (options.onceSeconds >= 0 || !terminal) {
                printOnce(link, values, view, options.onceSeconds >= 0 ? options.onceSeconds : 2.0);
            } else {
                code = runWatchScreen(view, options.file, [&](WatchView& shown) {
                    for (const ReceivedValue& value : values.take()) shown.show(value.record);
                    return !link.failed() && !interrupted();
                });
                // Ctrl+C ends the view as q does; only a link that went down is a failure.
                if (code == kExitLink && !link.failed()) code = kExitDone;
            }
            if (link.failed()) return kExitLink;
            stopItemValues(window->data, link);
            return code;
        },
        nullptr, load);
}

}  // namespace

Command addWatchCommand(CLI::App& app) {
    auto options = std::make_shared<WatchOptions>();
    options->tool.dir.clear();
    CLI::App* command =
        app.add_subcommand("watch", "Show a debug window file with the controller's live values; q quits");
    command->add_option("FILE", options->file, "Debug window file")->required();
    command->add_option("--dir", options->tool.dir,
                        "Directory of KVAPDEF.H and KVAPTAB.C (default: the file's directory)");
    command
        ->add_option("--once", options->onceSeconds,
                     "Print the window once after this many seconds and end (always so when the output "
                     "is not a terminal; 2 s by default there)")
        ->check(CLI::Range(0.0, 3600.0));
    addLinkOptions(*command, options->tool.link);
    return {command, [options] {
                ReceivedValues values;  // outlives the link and its reader
                WatchOptions run = *options;
                if (run.tool.dir.empty()) run.tool.dir = directoryOf(run.file);
                return watch(run, values);
            }};
}

}  // namespace tavir::cli
