// Reads arbitrary bytes as an application: the input up to the first "@@KVAPTAB@@\n" is written
// as KVAPDEF.H, the rest as KVAPTAB.C, and the three passes run on them after the built-in
// macros. Then the result is checked again: a failed load reported exactly one line and a good
// one none, every text stayed within its field, the counts and the clearances within their
// limits, and the MacroTable's index answers as a walk from its first entry does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/message_log.h"
#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "fuzz_files.h"

namespace {

using namespace tavir;
using fuzz::check;

struct CountedLines : MessageSink {
    int count = 0;
    int addLine(const char* text) override {
        check(std::strlen(text) < kMessageLineCapacity);
        return count++;
    }
};

template <size_t kCapacity>
void checkText(const char (&field)[kCapacity]) {
    check(std::memchr(field, '\0', kCapacity) != nullptr);
}

struct Workspace {
    testing::ScratchFolder folder{"tavir-header-fuzz", fuzz::fastTemp()};
    std::unique_ptr<MacroTable> builtIn = std::make_unique<MacroTable>();
    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    Workspace() {
        MessageLog log;
        clearMacroTable(*builtIn);
        check(loadBuiltInMacros(*builtIn, log) == 0);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace work;
    static const char kSeparator[] = "@@KVAPTAB@@\n";
    const uint8_t* split = static_cast<const uint8_t*>(memmem(data, size, kSeparator, sizeof kSeparator - 1));
    size_t headerSize = split ? static_cast<size_t>(split - data) : size;
    std::string header = work.folder.file("KVAPDEF.H");
    std::string tableSource = work.folder.file("KVAPTAB.C");
    fuzz::writeFile(header, data, headerSize);
    if (split) {
        size_t rest = headerSize + sizeof kSeparator - 1;
        fuzz::writeFile(tableSource, data + rest, size - rest);
    } else {
        std::remove(tableSource.c_str());
    }

    MacroTable& macros = *work.macros;
    std::memcpy(&macros, work.builtIn.get(), sizeof macros);
    ApplicationTables& tables = *work.tables;
    CountedLines lines;
    MessageLog log;
    log.sink = &lines;
    int result = loadApplicationHeader(macros, tables, log, header.c_str());
    check(result == 0 || result == -1);
    check(lines.count == (result == 0 ? 0 : 1));
    check(log.messageFileContext[0] == '\0' && log.messageLineContext[0] == '\0');

    check(macros.count >= 135 && macros.count <= kMacroTableCapacity);
    for (int i = 0; i < macros.count; ++i) checkText(macros.entries[i].name);
    // The index against a walk, for the names the header added (a bounded number of them).
    for (int i = 135; i < macros.count && i < 135 + 300; ++i) {
        const char* name = macros.entries[i].name;
        int32_t first = -1;
        for (int j = 0; j < macros.count; ++j) {
            if (std::strcmp(macros.entries[j].name, name) == 0) {
                first = macros.entries[j].value;
                break;
            }
        }
        check(lookupMacro(macros, name) == first);
    }

    for (const auto& r : tables.signalGroups) checkText(r.name);
    for (const auto& r : tables.detectors) checkText(r.name);
    for (const auto& r : tables.timers) checkText(r.name);
    for (const auto& r : tables.clocks) checkText(r.name);
    for (const auto& r : tables.switches) checkText(r.name);
    for (const auto& r : tables.eparms) checkText(r.name);
    for (const auto& r : tables.eggparms) checkText(r.name);
    check(tables.numClearances >= 0 && tables.numClearances <= kClearanceCapacity);
    for (int i = 0; i < tables.numClearances; ++i) {
        checkText(tables.clearances[static_cast<size_t>(i)].fromName);
        checkText(tables.clearances[static_cast<size_t>(i)].toName);
    }
    const ApplicationCounts& n = tables.counts;
    for (int32_t count : {n.numSignalGroups, n.numDetectors, n.numTimers, n.numClocks, n.numEggparms,
                          n.numEparms, n.numSwitches}) {
        check(count >= 0);
    }
    return 0;
}
