#pragma once
// Helpers of the definitions tests: a temporary directory of their own, files written byte for
// byte, tables on the heap (they are too large for a thread's stack under Windows), and a
// message log that records its lines.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "../support.h"
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir::testing {

class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("tavir-defs-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory with a separator at its end, as the program's paths are joined.
    std::string dir() const { return (path_ / "").string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::string at = file(name);
        std::ofstream out(at, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return at;
    }

private:
    std::filesystem::path path_;
};

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

}  // namespace tavir::testing
