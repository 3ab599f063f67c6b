#include "check_command.h"

#include <cstring>
#include <memory>

#include "base/join_path.h"
#include "cut_off_checks.h"
#include "debugwin/window_list.h"
#include "definitions/load_application.h"
#include "file_search.h"
#include "resources/debugwin_texts.h"
#include "resources/shell_texts.h"
#include "source_check.h"
#include "text_window.h"

namespace tavir::cli {

namespace {

// The message window's lines on out, counted by their type: the type's prefix stands right
// after the file and line prefixes the log holds while the line is added.
class PrintedLines : public MessageSink {
public:
    PrintedLines(std::FILE* out, const MessageLog& log) : out_(out), log_(log) {}
    int addLine(const char* text) override {
        std::fprintf(out_, "%s\n", text);
        size_t skip = std::strlen(log_.messageFileContext) + std::strlen(log_.messageLineContext);
        if (std::strlen(text) >= skip) {
            const char* typed = text + skip;
            for (int type = kWarning; type <= kSystem; ++type) {
                const char* prefix = text::kMessageTypePrefix[type - 1];
                if (std::strncmp(typed, prefix, std::strlen(prefix)) == 0) ++problems;
            }
        }
        return lines++;
    }
    int problems = 0;
    int lines = 0;

private:
    std::FILE* out_;
    const MessageLog& log_;
};

// The debugger window's side of the search: OpenDebugWindowFile without a window.
class CheckedWindows : public DebugWindowHost {
public:
    CheckedWindows(MessageLog& log, const MacroTable& macros, CheckResult& result,
                   std::vector<std::string>& warnings)
        : log_(log), macros_(macros), result_(result), warnings_(warnings) {}
    int childCount() const override { return result_.windowsLoaded; }
    int openDebugWindowFile(const char* path) override {
        ReportMessage(log_, kPlain, path);
        std::unique_ptr<TextWindow> window = loadTextWindow(path, log_, macros_);
        if (!window) {
            ++result_.windowsRefused;
            return -1;
        }
        ++result_.windowsLoaded;
        findStopBytes(path, warnings_);
        checkWindowCutOffs(path, *window, warnings_);
        return 0;
    }
    void repaint() override {}

private:
    MessageLog& log_;
    const MacroTable& macros_;
    CheckResult& result_;
    std::vector<std::string>& warnings_;
};

void searchAll(CheckedWindows& host, MessageLog& log, const std::string& dir,
               std::vector<std::string>& warnings) {
    std::vector<std::string> leftOut;
    for (const char* pattern : {text::kDebugFilePattern, text::kDebugFileAltPattern}) {
        ListedSearch search;
        searchDebugWindowFiles(host, log, search, dir.c_str(), pattern);
        for (std::string& name : search.unread()) leftOut.push_back(std::move(name));
    }
    for (const std::string& name : leftOut) {
        warnings.push_back(dir + name + ": not read, beyond the " + std::to_string(kMaxChildWindows) +
                           " windows the debugger opens");
    }
}

}  // namespace

CheckResult checkApplication(const CheckRequest& request, std::FILE* out) {
    CheckResult result;
    MessageLog log;
    PrintedLines lines(out, log);
    log.sink = &lines;
    const std::string dir = withHostSeparator(request.dir);

    // Both tables are large; they live on the heap, as in the debugger.
    auto macros = std::make_unique<MacroTable>();
    auto tables = std::make_unique<ApplicationTables>();
    clearMacroTable(*macros);
    ApplicationLoad load = LoadApplication(*macros, *tables, log, dir.c_str());
    // The debugger's message boxes go to standard error.
    if (load.result == ApplicationLoadResult::kMacrosIncorrect) std::fputs(text::kMacroFileIncorrect, stderr);
    if (load.result == ApplicationLoadResult::kHeaderRefused) {
        std::fprintf(stderr, text::kHeaderNotOpenedFormat, load.headerPath);
        std::fputc('\n', stderr);
    }
    if (load.result != ApplicationLoadResult::kLoaded) {
        result.applicationRefused = true;
        result.problemLines = lines.problems;
        return result;
    }

    std::vector<std::string> warnings;
    findStopBytes(load.headerPath, warnings);
    checkApplicationCutOffs(load.headerPath, *tables, warnings);
    SourceCheck source = checkTableSource(*macros, *tables, load.headerPath, KindSelection::all());
    result.applicationRefused = source.unreadable;
    for (std::string& line : source.refusals) warnings.push_back(std::move(line));
    for (std::string& line : source.warnings) warnings.push_back(std::move(line));
    CheckedWindows host(log, *macros, result, warnings);
    if (request.files.empty()) {
        searchAll(host, log, dir, warnings);
    } else {
        for (const std::string& file : request.files) host.openDebugWindowFile(file.c_str());
    }
    result.problemLines = lines.problems;
    result.cutOffs = static_cast<int>(warnings.size());

    for (const std::string& warning : warnings)
        std::fprintf(out, "tavir-cli: warning: %s\n", warning.c_str());
    const ApplicationCounts& c = tables->counts;
    std::fprintf(out,
                 "%s: %d names; %d signal groups, %d detectors, %d timers, %d clocks, %d switches, "
                 "%d EPARMs, %d EGGPARMs, %d clearances\n",
                 load.headerPath, macros->count, c.numSignalGroups, c.numDetectors, c.numTimers, c.numClocks,
                 c.numSwitches, c.numEparms, c.numEggparms, tables->numClearances);
    std::fprintf(out, "debug windows: %d read, %d refused; %d messages with problems, %d cut-off warnings\n",
                 result.windowsLoaded, result.windowsRefused, result.problemLines, result.cutOffs);
    return result;
}

int checkExitCode(const CheckResult& result) {
    if (result.applicationRefused || result.windowsRefused > 0) return 2;
    return result.problemLines > 0 || result.cutOffs > 0 ? 1 : 0;
}

}  // namespace tavir::cli
