// The text reader's lines and the values read from them. The message prefixes a file's lines
// carry are the application header's fatal defines'.
#include "definitions/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "definitions/define_line.h"
#include "definitions/value_text.h"
#include "definitions_support.h"

namespace tavir {
namespace {

using testing::LoggedLines;
using testing::ScratchFolder;

using ReadResult = std::pair<int, std::string>;  // what readLine gives, and the line

TEST(TextFile, LineRules) {
    const std::string x254(254, 'x'), x255(255, 'x');
    const struct {
        const char* what;
        std::string bytes;
        std::vector<ReadResult> lines;  // up to and including the first result that is not positive
    } rows[] = {
        {"last line without newline", "ab\ncd", {{3, "ab\n"}, {-1, "cd"}}},
        {"empty line", "\nx\n", {{1, "\n"}, {2, "x\n"}, {-1, ""}}},
        {"CR LF becomes LF, a lone CR stays", "a\rb\r\n", {{4, "a\rb\n"}, {-1, ""}}},
        {"CR CR LF", "a\r\r\n", {{3, "a\r\n"}, {-1, ""}}},
        {"Ctrl-Z ends the file", "ab\ncd\032ef\n", {{3, "ab\n"}, {-1, "cd"}}},
        {"byte 0xFF ends the line", "ab\377cd\n", {{-1, "ab\xff"}}},
        {"254 characters and the newline", x254 + "\nz\n", {{255, x254 + "\n"}, {2, "z\n"}, {-1, ""}}},
        {"255 characters", x255 + "\n", {{-1, x255}}},
    };
    ScratchFolder folder;
    for (const auto& row : rows) {
        LoggedLines logged;
        TextFile* file = openTextFile(logged.log, folder.write("f.txt", row.bytes).c_str());
        ASSERT_NE(file, nullptr) << row.what;
        std::vector<ReadResult> got;
        char buffer[kTextLineCapacity];
        do {
            got.emplace_back(readLine(file, buffer), buffer);
        } while (got.back().first > 0);
        closeTextFile(file);
        EXPECT_EQ(got, row.lines) << row.what;
        EXPECT_TRUE(logged.all().empty()) << row.what;
    }
}

TEST(TextFile, PlainLinesReadLikeFgetsAndRewind) {
    // The CR before "b" is the last byte of the reader's first block, its LF the first of the next.
    const std::string y399(399, 'y');
    const std::string head = "kort\r\n" + y399 + "z\n";
    const std::string filler(kTextBlockSize - 1 - head.size(), 'a');
    ScratchFolder folder;
    const std::string path = folder.write("t.c", head + filler + "\r\nb\n\377\032weg");
    PlainTextFile* file = openPlainTextFile(path.c_str());
    ASSERT_NE(file, nullptr);
    char line[kPlainLineCapacity];
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::string> lines;
        std::string all;
        while (readPlainLine(file, line)) {
            lines.push_back(line);
            all += line;
        }
        rewindPlainTextFile(file);
        // A long line comes in pieces of 399; 0xFF is an ordinary byte here; Ctrl-Z ends the file.
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
                  (std::vector<std::string>{"kort\n", y399, "z\n"}));
        EXPECT_EQ(all, "kort\n" + y399 + "z\n" + filler + "\nb\n\xff") << "pass " << pass;
    }
    closePlainTextFile(file);
    EXPECT_EQ(openPlainTextFile(folder.file("nee.c").c_str()), nullptr);
}

TEST(ValueText, DecimalOnlyOnEveryPlatform) {
    const std::tuple<const char*, double, int32_t> rows[] = {
        {"  -2.25,", -2.25, -2},
        {".5", 0.5, 0},
        {"1e2", 100.0, 1},
        {"-", 0.0, 0},
        {"0x1A", 0.0, 0},
        {"inf", 0.0, 0},
        {"99999999999", 99999999999.0, INT32_MAX},
        {"-99999999999", -99999999999.0, INT32_MIN},
    };
    for (auto [text, asDouble, asInteger] : rows) {
        EXPECT_EQ(textToDouble(text), asDouble) << text;
        EXPECT_EQ(textToInteger(text), asInteger) << text;
    }
    EXPECT_EQ(textToFloat("0.1"), 0.1f);
}

TEST(DefineLine, Shapes) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        // line, name and value; no name: not a define of this shape, and the line stays as it was
        {"#define\t \tA_B\t 12 /* x */\n", "A_B", "12"},
        {"#define KVAPDEF_H\n", nullptr, nullptr},
        {"#define X \n", nullptr, nullptr},
        {" #define X 3\n", nullptr, nullptr},
        {"#define X\xeb 3\n", nullptr, nullptr},
    };
    for (auto [text, expectedName, expectedValue] : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "%s", text);
        char* name = nullptr;
        char* value = nullptr;
        ASSERT_EQ(splitDefineLine(line, &name, &value), expectedName != nullptr) << text;
        EXPECT_STREQ(expectedName ? name : line, expectedName ? expectedName : text);
        EXPECT_STREQ(expectedName ? value : nullptr, expectedValue);
    }
}

}  // namespace
}  // namespace tavir
