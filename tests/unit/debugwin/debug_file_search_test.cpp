// The search for debug window files and its message lines, and the sorted order of child windows.
// The lines of a search that finds files or none are the start-up cases' (expect_startup_lines).
#include "debugwin/debug_file_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support.h"
#include "resources/debugwin_texts.h"
#include "resources/shell_texts.h"

namespace tavir {
namespace {

using Lines = std::vector<std::string>;

// A directory whose entries match every search path; remembers what was asked.
struct ListedDirectory : DirectorySearch {
    std::vector<std::string> names;  // a name starting with '/' is an entry that is skipped
    std::vector<std::string> searchPaths;
    size_t at = 0;
    int closes = 0;
    bool fill(DirectoryEntry& entry) {
        if (at >= names.size()) return false;
        entry.name = names[at].c_str();
        entry.skipped = names[at][0] == '/';
        ++at;
        return true;
    }
    bool first(const char* searchPath, DirectoryEntry& entry) override {
        searchPaths.emplace_back(searchPath);
        at = 0;
        return fill(entry);
    }
    bool next(DirectoryEntry& entry) override { return fill(entry); }
    void close() override { ++closes; }
};

struct FakeHost : DebugWindowHost {
    int children = 0;
    std::vector<std::string> opened;
    std::string failing;  // the path whose loading fails
    int repaints = 0;
    int childCount() const override { return children; }
    int openDebugWindowFile(const char* path) override {
        opened.emplace_back(path);
        if (failing == path) return -1;
        ++children;
        return 0;
    }
    void repaint() override { ++repaints; }
};

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override { log.sink = &lines; }
    int search(const std::string& directory, const char* pattern) {
        return searchDebugWindowFiles(host, log, directory_, directory.c_str(), pattern);
    }
    FakeHost host;
    ListedDirectory directory_;
    testing::RecordedLines lines;
    MessageLog log;
    const std::string kLimit = "waarschuwing : Het maximum aantal van 200 vensters is bereikt.";
};

TEST_F(SearchTest, EveryMatchingFileIsTriedWithItsFullPathAndCounted) {
    directory_.names = {"DEBUG_001.QTZ", "/SUBDIR", "DEBUG_002.QTZ", "DEBUG_003.QTZ"};
    host.failing = "C:\\app\\DEBUG_002.QTZ";
    EXPECT_EQ(search("C:\\app", text::kDebugFilePattern), 3);
    EXPECT_EQ(directory_.searchPaths, Lines{"C:\\app\\DEBUG_???.*"});
    EXPECT_EQ(host.opened,
              (Lines{"C:\\app\\DEBUG_001.QTZ", "C:\\app\\DEBUG_002.QTZ", "C:\\app\\DEBUG_003.QTZ"}));
    EXPECT_EQ(host.children, 2);
    EXPECT_EQ(lines.lines.size(), 1u);
    EXPECT_EQ(host.repaints, 1);
    EXPECT_EQ(directory_.closes, 1);
}

TEST_F(SearchTest, PathsThatAreTooLongAreReportedAndNotTried) {
    EXPECT_EQ(search(std::string(1020, 'x'), text::kDebugFilePattern), 0);
    EXPECT_TRUE(directory_.searchPaths.empty());
    // The directory does not fit into the line and is left out.
    EXPECT_EQ(lines.lines, (Lines{"fout : DEBUG_???.*: Pad naar debug bestand is te lang: ",
                                  text::kReadingDebugFiles, text::kNoDebugFiles}));

    lines.lines.clear();
    directory_.names = {std::string(30, 'n'), "A_1.DBG"};
    EXPECT_EQ(search(std::string(1000, 'x'), "*"), 1);
    ASSERT_EQ(lines.lines.size(), 2u);
    EXPECT_EQ(lines.lines[1].substr(0, 30 + 37), std::string(30, 'n') + text::kDebugPathTooLong);
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(SearchTest, TheSearchStopsAtTwoHundredWindowsWithAWarning) {
    host.children = 198;
    for (int i = 0; i < 5; ++i) directory_.names.push_back("DEBUG_00" + std::to_string(i) + ".QTZ");
    EXPECT_EQ(search("d", text::kDebugFilePattern), 2);
    EXPECT_EQ(host.children, 200);
    ASSERT_EQ(lines.lines.size(), 2u);
    EXPECT_EQ(lines.lines[1], kLimit);

    // Already full: nothing is tried, and both closing lines follow.
    lines.lines.clear();
    EXPECT_EQ(search("d", text::kDebugFileAltPattern), 0);
    ASSERT_EQ(lines.lines.size(), 3u);
    EXPECT_EQ(lines.lines[1], text::kNoDebugFiles);
    EXPECT_EQ(lines.lines[2], kLimit);
}

TEST(SortInLast, TheNewEntryGoesBeforeTheFirstGreaterTitle) {
    const struct {
        std::vector<std::string> titles;  // the last one is new
        int place;
    } rows[] = {
        {{"b", "c", "a"}, 0},
        {{"a", "c", "b"}, 1},
        {{"a", "b", "b"}, 2},  // an equal title goes after
        {{"\xE9", "z"}, 0},    // bytes compare unsigned
    };
    for (const auto& row : rows) {
        std::vector<const std::string*> entries;
        for (const std::string& t : row.titles) entries.push_back(&t);
        int place = sortInLast(entries.data(), static_cast<int>(entries.size()), entries.back()->c_str(),
                               [](const std::string* s) { return s->c_str(); });
        EXPECT_EQ(place, row.place);
        EXPECT_EQ(entries[static_cast<size_t>(place)], &row.titles.back());
        for (size_t i = 1; i < entries.size(); ++i)
            EXPECT_LE(static_cast<unsigned char>((*entries[i - 1])[0]),
                      static_cast<unsigned char>((*entries[i])[0]));
    }
}

}  // namespace
}  // namespace tavir
