#include "check_definitions.h"

#include <memory>

#include "base/message_log.h"
#include "definitions/load_application.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

namespace {

struct PrintedLines : MessageSink {
    std::FILE* out;
    explicit PrintedLines(std::FILE* o) : out(o) {}
    int addLine(const char* text) override {
        std::fprintf(out, "%s\n", text);
        return 0;
    }
};

}  // namespace

int checkDefinitions(const std::string& dir, std::FILE* out) {
    PrintedLines lines(out);
    MessageLog log;
    log.sink = &lines;
    // Both tables are large; they live on the heap, as in the debugger.
    auto macros = std::make_unique<MacroTable>();
    auto tables = std::make_unique<ApplicationTables>();
    clearMacroTable(*macros);

    ApplicationLoad load = LoadApplication(*macros, *tables, log, dir.c_str());
    if (load.result == ApplicationLoadResult::kHeaderRefused)
        std::fprintf(out, "%s: refused\n", load.headerPath);
    if (load.result != ApplicationLoadResult::kLoaded) return 2;
    const ApplicationCounts& c = tables->counts;
    std::fprintf(out,
                 "%s: %d names; %d signal groups, %d detectors, %d timers, %d clocks, %d switches, "
                 "%d EPARMs, %d EGGPARMs, %d clearances\n",
                 load.headerPath, macros->count, c.numSignalGroups, c.numDetectors, c.numTimers, c.numClocks,
                 c.numSwitches, c.numEparms, c.numEggparms, tables->numClearances);
    return load.reportedLines > 0 ? 1 : 0;
}

}  // namespace tavir
