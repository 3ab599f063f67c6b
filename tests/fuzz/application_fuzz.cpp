// Reads arbitrary bytes as an application: the input up to the first "@@KVAPTAB@@\n" is written
// as KVAPDEF.H, the rest as KVAPTAB.C, and the three passes run on them after the built-in
// macros. Then the result is checked: a failed load reported exactly one line and a good one
// none; every text ended within its field; and the counts and clearances stayed within their limits.
// (That the MacroTable's index answers as a walk from its first entry does is MacroTable's own test.)
#include <algorithm>
#include <memory>

#include "definitions/application_header.h"
#include "fuzz_files.h"

namespace {

using namespace tavir;
using fuzz::check;

template <size_t kCapacity>
void checkText(const char (&field)[kCapacity]) {
    check(std::memchr(field, '\0', kCapacity) != nullptr);
}

template <typename... Tables>
void checkNames(const Tables&... tables) {
    (..., [](const auto& table) {
        for (const auto& r : table) checkText(r.name);
    }(tables));
}

struct Workspace {
    fuzz::Scratch folder{"tavir-application-fuzz"};
    std::unique_ptr<MacroTable> builtIn = fuzz::builtInMacros();
    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace work;
    static const char kSeparator[] = "@@KVAPTAB@@\n";
    const uint8_t* split = static_cast<const uint8_t*>(memmem(data, size, kSeparator, sizeof kSeparator - 1));
    const size_t headerSize = split ? static_cast<size_t>(split - data) : size;
    const std::string header = work.folder.write("KVAPDEF.H", data, headerSize);
    const size_t rest = std::min(size, headerSize + sizeof kSeparator - 1);
    if (split)
        work.folder.write("KVAPTAB.C", data + rest, size - rest);
    else
        std::remove(work.folder.file("KVAPTAB.C").c_str());

    MacroTable& macros = *work.macros;
    std::memcpy(&macros, work.builtIn.get(), sizeof macros);
    ApplicationTables& tables = *work.tables;
    fuzz::CountedLog lines;
    const int result = loadApplicationHeader(macros, tables, lines.log, header.c_str());
    check(result == 0 || result == -1);
    check(lines.count == (result == 0 ? 0 : 1));
    check(lines.log.messageFileContext[0] == '\0' && lines.log.messageLineContext[0] == '\0');

    check(macros.count >= work.builtIn->count && macros.count <= kMacroTableCapacity);
    for (int i = 0; i < macros.count; ++i) checkText(macros.entries[i].name);

    checkNames(tables.signalGroups, tables.detectors, tables.timers, tables.clocks, tables.switches,
               tables.eparms, tables.eggparms);
    check(tables.numClearances >= 0 && tables.numClearances <= kClearanceCapacity);
    for (const ClearanceEntry& e : tables.clearances) {
        checkText(e.fromName);
        checkText(e.toName);
    }
    const ApplicationCounts& n = tables.counts;
    for (int32_t count : {n.numSignalGroups, n.numDetectors, n.numTimers, n.numClocks, n.numEggparms,
                          n.numEparms, n.numSwitches})
        check(count >= 0);

    return 0;
}
