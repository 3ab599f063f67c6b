#include "definitions/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::TempDir;

struct ReadResult {
    int result;
    std::string text;
};

// All readLine results up to and including the first that is not positive.
std::vector<ReadResult> readAll(TextFile* file) {
    std::vector<ReadResult> results;
    char buffer[kTextLineCapacity];
    for (;;) {
        int result = readLine(file, buffer);
        results.push_back({result, buffer});
        if (result <= 0) return results;
    }
}

TEST(TextFile, LineRules) {
    const std::string x254(254, 'x'), x255(255, 'x');
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<ReadResult> expected;
    } cases[] = {
        {"lines keep their newline", "ab\ncd\n", {{3, "ab\n"}, {3, "cd\n"}, {-1, ""}}},
        {"last line without newline", "ab\ncd", {{3, "ab\n"}, {-1, "cd"}}},
        {"empty file", "", {{-1, ""}}},
        {"empty line", "\nx\n", {{1, "\n"}, {2, "x\n"}, {-1, ""}}},
        {"CR LF becomes LF", "ab\r\ncd\r\n", {{3, "ab\n"}, {3, "cd\n"}, {-1, ""}}},
        {"a lone CR stays", "a\rb\n", {{4, "a\rb\n"}, {-1, ""}}},
        {"CR at the end of the file stays", "ab\r", {{-1, "ab\r"}}},
        {"CR CR LF", "a\r\r\n", {{3, "a\r\n"}, {-1, ""}}},
        {"Ctrl-Z ends the file",
         "ab\ncd\x1a"
         "ef\n",
         {{3, "ab\n"}, {-1, "cd"}}},
        {"byte 0xFF ends the line",
         "ab\xff"
         "cd\n",
         {{-1, "ab\xff"}}},
        {"254 characters and the newline", x254 + "\nz\n", {{255, x254 + "\n"}, {2, "z\n"}, {-1, ""}}},
        {"255 characters", x255 + "\n", {{-1, x255}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        LoggedLines logged;
        TextFile* file = openTextFile(logged.log, dir.write("f.txt", c.bytes).c_str());
        ASSERT_NE(file, nullptr) << c.what;
        std::vector<ReadResult> got = readAll(file);
        ASSERT_EQ(got.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].result, c.expected[i].result) << c.what << " line " << i + 1;
            EXPECT_EQ(got[i].text, c.expected[i].text) << c.what << " line " << i + 1;
        }
        closeTextFile(file);
        EXPECT_TRUE(logged.all().empty()) << c.what;
    }
}

TEST(TextFile, CrLfSplitAcrossTheReadBlock) {
    // The CR is the last byte of the first block the reader takes, the LF the first of the next.
    std::string bytes(kTextBlockSize - 1, 'a');
    bytes += "\r\nb\n";
    TempDir dir;
    PlainTextFile* plain = openPlainTextFile(dir.write("f.txt", bytes).c_str());
    ASSERT_NE(plain, nullptr);
    char line[kPlainLineCapacity];
    std::string all;
    while (readPlainLine(plain, line)) all += line;
    closePlainTextFile(plain);
    EXPECT_EQ(all, std::string(kTextBlockSize - 1, 'a') + "\nb\n");
}

TEST(TextFile, ContextNamesTheFileAndCountsLines) {
    TempDir dir;
    std::string path = dir.write("KVAPDEF.H", "een\ntwee\ndrie\n");
    LoggedLines logged;
    SetMessageLine(logged.log, 40);
    TextFile* file = openTextFile(logged.log, path.c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::string(logged.log.messageFileContext), path + " : ");
    EXPECT_EQ(std::string(logged.log.messageLineContext), "");
    char buffer[kTextLineCapacity];
    readLine(file, buffer);
    readLine(file, buffer);
    ReportMessage(logged.log, kError, "tekst");
    EXPECT_EQ(logged.all().back(), path + " : (2) : fout : tekst");
    readLine(file, buffer);
    readLine(file, buffer);  // the end of the file counts as a line too
    EXPECT_EQ(CurrentMessageLine(logged.log), 4);
    closeTextFile(file);
    EXPECT_EQ(std::string(logged.log.messageFileContext), "");
    EXPECT_EQ(std::string(logged.log.messageLineContext), "");
}

TEST(TextFile, MissingFileIsReportedWithItsName) {
    TempDir dir;
    LoggedLines logged;
    std::string path = dir.file("ontbreekt.h");
    EXPECT_EQ(openTextFile(logged.log, path.c_str()), nullptr);
    ASSERT_EQ(logged.all().size(), 1u);
    EXPECT_EQ(logged.all()[0], path + " : fout : Dit bestand kon niet worden geopend.");
    EXPECT_EQ(std::string(logged.log.messageFileContext), "");
    closeTextFile(nullptr);  // accepted
}

TEST(TextFile, PlainLinesReadLikeFgets) {
    std::string x399(399, 'y');
    std::string bytes = "kort\r\n" + x399 + "z\n" +
                        "\xff\x1a"
                        "weg";
    TempDir dir;
    PlainTextFile* file = openPlainTextFile(dir.write("t.c", bytes).c_str());
    ASSERT_NE(file, nullptr);
    std::vector<std::string> lines;
    char line[kPlainLineCapacity];
    for (int pass = 0; pass < 2; ++pass) {
        lines.clear();
        while (readPlainLine(file, line)) lines.push_back(line);
        rewindPlainTextFile(file);
        ASSERT_EQ(lines.size(), 4u) << "pass " << pass;
        EXPECT_EQ(lines[0], "kort\n");
        EXPECT_EQ(lines[1], x399) << "a long line comes in pieces of 399";
        EXPECT_EQ(lines[2], "z\n");
        EXPECT_EQ(lines[3], "\xff") << "0xFF is an ordinary byte here; Ctrl-Z ends the file";
    }
    closePlainTextFile(file);
    EXPECT_EQ(openPlainTextFile(dir.file("nee.c").c_str()), nullptr);
}

#ifndef _WIN32
TEST(TextFile, BackslashSeparatesDirectoriesOnPosix) {
    TempDir dir;
    dir.write("KVAPDEF.H", "x\n");
    std::string path = dir.dir();
    path.back() = '\\';
    path += "KVAPDEF.H";
    PlainTextFile* file = openPlainTextFile(path.c_str());
    ASSERT_NE(file, nullptr) << path;
    closePlainTextFile(file);
}
#endif

}  // namespace
}  // namespace tavir
