#include "base/message_log.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "../support.h"
#include "base/parse_decimal.h"
#include "resources/debugwin_texts.h"

namespace tavir {
namespace {

struct MessageLogTest : ::testing::Test {
    testing::RecordedLines lines;
    testing::RecordedBoxes boxes;
    MessageLog log;
    void SetUp() override {
        log.sink = &lines;
        log.boxes = &boxes;
    }
    const std::string& last() const { return lines.lines.back(); }
};

TEST_F(MessageLogTest, FileAndLinePrefixesStandBeforeTheType) {
    ReportMessage(log, kPlain, "C:\\kp\\DEBUG_001.TXT");
    EXPECT_EQ(last(), "C:\\kp\\DEBUG_001.TXT");
    SetMessageFile(log, "KVAPTAB.C");
    SetMessageLine(log, 12);
    ReportMessage(log, kError, "a", "b", "c");
    EXPECT_EQ(last(), "KVAPTAB.C : (12) : fout : abc");
    // An unknown type loses the prefixes.
    ReportMessage(log, 9, "t");
    EXPECT_EQ(last(), "SYSTEM: Unknow message typet");
    ReportMessage(log, 0, "t");
    EXPECT_EQ(last(), "SYSTEM: Unknow message typet");
}

TEST_F(MessageLogTest, PiecesThatDoNotFitAreLeftOutAndLaterOnesTried) {
    std::string name(509, 'a');  // with " : " the file prefix is 512 characters: left out
    SetMessageFile(log, name.c_str());
    SetMessageLine(log, 5);
    ReportMessage(log, kWarning, "x");
    EXPECT_EQ(last(), "(5) : waarschuwing : x");
    std::string shorter(508, 'a');  // 511 characters still fit, but then the line prefix does not
    SetMessageFile(log, shorter.c_str());
    ReportMessage(log, kPlain, "x");
    EXPECT_EQ(last(), shorter + " : x");
    SetMessageFile(log, nullptr);
    SetMessageLine(log, 0);
    ReportMessage(log, kPlain, "abc", std::string(541, 'b').c_str(), "def");  // 3 + 541 reaches 544
    EXPECT_EQ(last(), "abcdef");
    std::string exact(543, 'c');
    ReportMessage(log, kPlain, exact.c_str(), "d");
    EXPECT_EQ(last(), exact);
    SetMessageFile(log, std::string(2000, 'n').c_str());
    EXPECT_EQ(std::string(log.messageFileContext), std::string(1021, 'n') + " :");  // cut to 1023
}

TEST_F(MessageLogTest, LineNumbersCountOnFromTheHeldOne) {
    const std::pair<int, const char*> steps[] = {
        {-1, "(1) : "}, {41, "(41) : "}, {-3, "(44) : "}, {0, ""}, {2147483647, "(2147483647) : "}};
    for (auto [line, expected] : steps) {
        SetMessageLine(log, line);
        EXPECT_STREQ(log.messageLineContext, expected) << "line " << line;
    }
}

TEST_F(MessageLogTest, ARefusedLineShowsTheMessageBox) {
    lines.refuse = true;
    ReportMessage(log, kPlain, "x");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, text::kMessageLineRefused);
    EXPECT_EQ(boxes.boxes[0].caption, text::kMessageLineRefusedCaption);
}

// parseDecimal is tested through its callers: the fatal defines of both macro readers and the
// debug window loader.

// What a typed value, a sweep's start value or a number on the command line becomes.
TEST(DecimalValue, LeadingDigitsAfterBlanksAndSign) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"12abc", 12},  // letters after the number are left
        {"\t -12", -12},
        {"+7", 7},
        {"", 0},
        {"X2", 0},
        {"- 5", 0},
        {"2147483648", INT32_MAX},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(decimalValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace tavir
