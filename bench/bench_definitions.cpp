// The cost of reading an application's definitions when a debugger window opens: the built-in
// macros, and the three passes over the largest application the tables hold (80 signal groups,
// 256 detectors, timers, clocks and switches, 5000 EPARMs and EGGPARMs, 1001 clearances).
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "app_generator.h"
#include "base/message_log.h"
#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"

namespace {

using namespace tavir;

// The generated application, written once per run of the benchmark binary.
const std::string& maxApplicationDir() {
    static const std::string dir = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / "tavir-bench-max-application";
        std::filesystem::create_directories(path);
        bench::writeMaxApplication(path.string());
        return path.string();
    }();
    return dir;
}

void BM_LoadBuiltInMacros(benchmark::State& state) {
    auto table = std::make_unique<MacroTable>();
    MessageLog log;
    for (auto _ : state) {
        clearMacroTable(*table);
        benchmark::DoNotOptimize(loadBuiltInMacros(*table, log));
    }
}
BENCHMARK(BM_LoadBuiltInMacros)->Unit(benchmark::kMicrosecond);

// What a window does after its built-in macros: the header's define pass, section pass and
// table-source pass. Each iteration starts from the built-in MacroTable again.
void BM_LoadApplication(benchmark::State& state) {
    const std::string header = maxApplicationDir() + "/KVAPDEF.H";
    auto builtIn = std::make_unique<MacroTable>();
    auto macros = std::make_unique<MacroTable>();
    auto tables = std::make_unique<ApplicationTables>();
    MessageLog log;
    clearMacroTable(*builtIn);
    loadBuiltInMacros(*builtIn, log);
    for (auto _ : state) {
        std::memcpy(macros.get(), builtIn.get(), sizeof *macros);
        if (loadApplicationHeader(*macros, *tables, log, header.c_str()) != 0) {
            state.SkipWithError("the application did not load");
            break;
        }
        benchmark::DoNotOptimize(tables->numClearances);
    }
    state.counters["eparms"] = tables->counts.numEparms;
    state.counters["clearances"] = tables->numClearances;
}
BENCHMARK(BM_LoadApplication)->Name("BM_LoadApplication/max")->Unit(benchmark::kMillisecond);

// Looking names up in a full MacroTable, as the debug window files and the table source do.
void BM_LookupMacro(benchmark::State& state) {
    const std::string header = maxApplicationDir() + "/KVAPDEF.H";
    auto macros = std::make_unique<MacroTable>();
    auto tables = std::make_unique<ApplicationTables>();
    MessageLog log;
    clearMacroTable(*macros);
    loadBuiltInMacros(*macros, log);
    loadApplicationHeader(*macros, *tables, log, header.c_str());
    int i = 0;
    for (auto _ : state) {
        const char* name = macros->entries[i].name;
        benchmark::DoNotOptimize(lookupMacro(*macros, name));
        i = (i + 7919) % macros->count;
    }
}
BENCHMARK(BM_LookupMacro);

}  // namespace
