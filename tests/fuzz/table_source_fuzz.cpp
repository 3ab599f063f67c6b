// Reads arbitrary bytes as the table source of a fixed application, then checks again what the
// pass may and may not have changed: the clearances stay within 1001 and hold names that end
// within their fields, the names and array numbers of the records are those of the header, and
// the working fields of the batch tools are never touched.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "base/message_log.h"
#include "definitions/application_header.h"
#include "definitions/table_source.h"
#include "fuzz_files.h"

namespace {

using namespace tavir;
using fuzz::check;

// Names the fuzzer can find: every kind of row, with short names so mutations hit them.
const char kHeader[] =
    "/* declaratie arraynummers voor signaalgroepen */\n"
    "#define SG02 0\n#define SG05 1\n#define SG1 2\n#define NUMSG 3\n"
    "/* declaratie arraynummers voor detectoren */\n"
    "#define SGD 0\n#define SG2D 1\n#define NUMD 2\n"
    "/* declaratie arraynummers voor tijden */\n#define T 0\n#define T2 1\n#define NUMT 2\n"
    "/* declaratie arraynummers voor klokken */\n#define K 0\n#define NUMKL 1\n"
    "/* declaratie arraynummers voor schakelaars */\n#define S 0\n#define NUMSCH 1\n"
    "/* declaratie arraynummers voor eparms */\n#define E 0\n#define E2 1\n#define NUMEP 2\n"
    "/* declaratie arraynummers voor eggparms */\n#define G 0\n#define NUMEGGP 1\n";

struct Workspace {
    testing::ScratchFolder folder{"tavir-table-fuzz", fuzz::fastTemp()};
    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    Workspace() {
        fuzz::writeFile(folder.file("KVAPDEF.H"), reinterpret_cast<const uint8_t*>(kHeader),
                        sizeof kHeader - 1);
        clearMacroTable(*macros);
        MessageLog log;
        check(loadApplicationHeader(*macros, *tables, log, folder.file("KVAPDEF.H").c_str()) == 0);
    }
};

template <typename Table>
void checkRecords(const Table& table, int count, const char* const* names) {
    for (int i = 0; i < count; ++i) {
        const auto& r = table[static_cast<size_t>(i)];
        check(std::strcmp(r.name, names[i]) == 0);
    }
}

template <typename Record>
void checkUntouched(const Record& r) {
    for (const auto& mark : r.received) check(mark.load() == 0);
    for (const auto& value : r.controllerValue) check(value.load() == 0);
}

template <typename Record>
void checkUntouchedOne(const Record& r) {
    check(r.received.load() == 0 && r.controllerValue.load() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace work;
    fuzz::writeFile(work.folder.file("KVAPTAB.C"), data, size);

    ApplicationTables& t = *work.tables;
    loadTableSource(*work.macros, t, work.folder.file("KVAPDEF.H").c_str());

    check(t.numClearances >= 0 && t.numClearances <= kClearanceCapacity);
    for (int i = 0; i < t.numClearances; ++i) {
        const ClearanceEntry& e = t.clearances[static_cast<size_t>(i)];
        check(std::memchr(e.fromName, '\0', sizeof e.fromName) &&
              std::memchr(e.toName, '\0', sizeof e.toName));
        checkUntouchedOne(e);
    }
    const char* const sg[] = {"SG02", "SG05", "SG1"};
    checkRecords(t.signalGroups, 3, sg);
    for (int i = 0; i < 3; ++i) {
        // The array numbers were set by the header; the MG fallback only fills unset ones.
        check(t.signalGroups[static_cast<size_t>(i)].arrayNumber == i);
        checkUntouched(t.signalGroups[static_cast<size_t>(i)]);
    }
    const char* const detectors[] = {"SGD", "SG2D"};
    checkRecords(t.detectors, 2, detectors);
    for (int i = 0; i < 2; ++i) checkUntouched(t.detectors[static_cast<size_t>(i)]);
    const char* const timers[] = {"T", "T2"};
    checkRecords(t.timers, 2, timers);
    const char* const eparms[] = {"E", "E2"};
    checkRecords(t.eparms, 2, eparms);
    checkUntouchedOne(t.timers[0]);
    checkUntouchedOne(t.eparms[1]);
    checkUntouchedOne(t.eggparms[0]);
    checkUntouchedOne(t.switches[0]);
    checkUntouched(t.clocks[0]);
    check(t.switches[0].value == 0 || t.switches[0].value == 1);
    return 0;
}
