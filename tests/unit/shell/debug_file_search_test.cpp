// The search for debug window files and its message lines, and the sorted order of child windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/debug_file_search.h"
#include "../support.h"

namespace tavir {
namespace {

using testing::RecordedLines;

struct ListedEntry {
    std::string name;
    bool skipped = false;
};

// A directory whose entries match every search path; remembers what was asked.
struct ListedDirectory : DirectorySearch {
    std::vector<ListedEntry> entries;
    std::vector<std::string> searchPaths;
    size_t at = 0;
    int closes = 0;
    bool fill(DirectoryEntry& entry) {
        if (at >= entries.size()) return false;
        entry.name = entries[at].name.c_str();
        entry.skipped = entries[at].skipped;
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
    std::vector<std::string> failing;  // paths whose loading fails
    int repaints = 0;
    int childCount() const override { return children; }
    int openDebugWindowFile(const char* path) override {
        opened.emplace_back(path);
        for (const std::string& f : failing) {
            if (f == path) return -1;
        }
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
    RecordedLines lines;
    MessageLog log;
};

constexpr char kReading[] = ": Inlezen van de debug venster bestanden...";
constexpr char kNone[] = "Er zijn geen debug venster bestanden die voldoen aan dit pad.";

TEST_F(SearchTest, AnEmptyDirectorySaysSoAfterTheReadingLine) {
    EXPECT_EQ(search("C:\\app\\", "DEBUG_???.*"), 0);
    EXPECT_EQ(lines.lines, (std::vector<std::string>{std::string("C:\\app\\DEBUG_???.*") + kReading, kNone}));
    EXPECT_EQ(host.repaints, 1);
    EXPECT_EQ(directory_.closes, 1);
}

TEST_F(SearchTest, EveryMatchingFileIsOpenedWithItsFullPathAndCounted) {
    directory_.entries = {{"DEBUG_001.QTZ"}, {"SUBDIR"}, {"DEBUG_002.QTZ"}, {"DEBUG_003.QTZ"}};
    directory_.entries[1].skipped = true;
    host.failing = {"C:\\app\\DEBUG_002.QTZ"};
    EXPECT_EQ(search("C:\\app", "DEBUG_???.*"), 3);
    EXPECT_EQ(directory_.searchPaths, std::vector<std::string>{"C:\\app\\DEBUG_???.*"});
    EXPECT_EQ(host.opened, (std::vector<std::string>{"C:\\app\\DEBUG_001.QTZ", "C:\\app\\DEBUG_002.QTZ",
                                                      "C:\\app\\DEBUG_003.QTZ"}));
    EXPECT_EQ(lines.lines, std::vector<std::string>{std::string("C:\\app\\DEBUG_???.*") + kReading});
}

TEST_F(SearchTest, AFileThatFailsStillCountsAsTried) {
    directory_.entries = {{"KRUIS_001.DBG"}};
    host.failing = {"KRUIS_001.DBG"};
    EXPECT_EQ(search("", "?????_???.DBG"), 1);
    EXPECT_EQ(host.children, 0);
    EXPECT_EQ(lines.lines, std::vector<std::string>{std::string("?????_???.DBG") + kReading});
}

TEST_F(SearchTest, ATooLongDirectoryIsNotSearched) {
    std::string directory(1020, 'x');
    EXPECT_EQ(search(directory, "DEBUG_???.*"), 0);
    EXPECT_TRUE(directory_.searchPaths.empty());
    ASSERT_EQ(lines.lines.size(), 3u);
    // The directory does not fit into the line and is left out.
    EXPECT_EQ(lines.lines[0], "fout : DEBUG_???.*: Pad naar debug bestand is te lang: ");
    EXPECT_EQ(lines.lines[1], kReading);
    EXPECT_EQ(lines.lines[2], kNone);
}

TEST_F(SearchTest, AnEntryWhosePathIsTooLongIsReportedAndNotTried) {
    std::string directory(1000, 'x');
    std::string longName(30, 'n');
    directory_.entries = {{longName}, {"A_1.DBG"}};
    EXPECT_EQ(search(directory, "*"), 1);
    ASSERT_EQ(lines.lines.size(), 2u);
    EXPECT_EQ(lines.lines[1].substr(0, 30 + 37), longName + ": Pad naar debug bestand is te lang: ");
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(SearchTest, TheSearchStopsAtTwoHundredWindowsWithAWarning) {
    host.children = 198;
    for (int i = 0; i < 5; ++i) directory_.entries.push_back({"DEBUG_00" + std::to_string(i) + ".QTZ"});
    EXPECT_EQ(search("d", "DEBUG_???.*"), 2);
    EXPECT_EQ(host.children, 200);
    ASSERT_EQ(lines.lines.size(), 2u);
    EXPECT_EQ(lines.lines[1], "waarschuwing : Het maximum aantal van 200 vensters is bereikt.");

    // Already full: nothing is tried, and both closing lines follow.
    lines.lines.clear();
    EXPECT_EQ(search("d", "?????_???.DBG"), 0);
    ASSERT_EQ(lines.lines.size(), 3u);
    EXPECT_EQ(lines.lines[1], kNone);
    EXPECT_EQ(lines.lines[2], "waarschuwing : Het maximum aantal van 200 vensters is bereikt.");
}

TEST(SortInLast, TheNewEntryGoesBeforeTheFirstGreaterTitle) {
    struct Case {
        std::vector<std::string> titles;  // the last one is new
        int place;
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {{"a"}, 0, {"a"}},
        {{"b", "c", "a"}, 0, {"a", "b", "c"}},
        {{"a", "c", "b"}, 1, {"a", "b", "c"}},
        {{"a", "b", "c"}, 2, {"a", "b", "c"}},
        {{"a", "b", "b"}, 2, {"a", "b", "b"}},  // an equal title goes after
        {{"C:\\x\\DEBUG_1", "C:\\x\\A_1.DBG"}, 0, {"C:\\x\\A_1.DBG", "C:\\x\\DEBUG_1"}},
        {{"\xE9", "z"}, 0, {"z", "\xE9"}},  // bytes compare unsigned
    };
    for (const Case& c : cases) {
        std::vector<std::string> titles = c.titles;
        std::vector<const std::string*> entries;
        for (const std::string& t : titles) entries.push_back(&t);
        int place = sortInLast(entries.data(), static_cast<int>(entries.size()), entries.back()->c_str(),
                               [](const std::string* s) { return s->c_str(); });
        EXPECT_EQ(place, c.place);
        std::vector<std::string> sorted;
        for (const std::string* e : entries) sorted.push_back(*e);
        EXPECT_EQ(sorted, c.sorted);
    }
}

}  // namespace
}  // namespace tavir
