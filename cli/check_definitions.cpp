#include "check_definitions.h"

#include <memory>
#include <string>
#include <vector>

#include "base/message_log.h"
#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"
#include "base/join_path.h"

namespace tavir {

namespace {

struct PrintedLines : MessageSink {
    std::FILE* out;
    int count = 0;
    explicit PrintedLines(std::FILE* o) : out(o) {}
    int addLine(const char* text) override {
        std::fprintf(out, "%s\n", text);
        return count++;
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

    if (loadBuiltInMacros(*macros, log) != 0) return 2;
    int builtIn = macros->count;
    const char* joined = JoinPath(dir.c_str(), "KVAPDEF.H");
    if (!joined) {
        std::fprintf(out, "path too long: %s\n", dir.c_str());
        return 2;
    }
    std::string header = joined;
    int linesBefore = lines.count;
    if (loadApplicationHeader(*macros, *tables, log, header.c_str()) != 0) {
        std::fprintf(out, "%s: refused\n", header.c_str());
        return 2;
    }
    const ApplicationCounts& c = tables->counts;
    std::fprintf(out,
                 "%s: %d names (%d built in); %d signal groups, %d detectors, %d timers, %d clocks, "
                 "%d switches, %d EPARMs, %d EGGPARMs, %d clearances\n",
                 header.c_str(), macros->count, builtIn, c.numSignalGroups, c.numDetectors, c.numTimers,
                 c.numClocks, c.numSwitches, c.numEparms, c.numEggparms, tables->numClearances);
    return lines.count > linesBefore ? 1 : 0;
}

}  // namespace tavir
