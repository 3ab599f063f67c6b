#pragma once
// Helpers of the definitions tests: tables on the heap (they are too large for a thread's stack
// under Windows), a message log that records its lines, and golden files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "../scratch_folder.h"
#include "../support.h"
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir::testing {

inline std::unique_ptr<MacroTable> newMacroTable() {
    auto table = std::make_unique<MacroTable>();
    clearMacroTable(*table);
    return table;
}

inline std::unique_ptr<ApplicationTables> newTables() {
    return std::make_unique<ApplicationTables>();
}

struct LoggedLines {
    RecordedLines lines;
    MessageLog log;
    LoggedLines() { log.sink = &lines; }
    const std::vector<std::string>& all() const { return lines.lines; }
};

inline std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// got is the golden file's text; with TAVIR_UPDATE_GOLDEN set it becomes the golden file instead.
inline void expectGolden(const std::string& got, const std::string& path) {
    if (const char* update = std::getenv("TAVIR_UPDATE_GOLDEN"); update && *update) {
        std::ofstream(path, std::ios::binary) << got;
        return;
    }
    EXPECT_EQ(got, readFileBytes(path)) << path;
}

}  // namespace tavir::testing
