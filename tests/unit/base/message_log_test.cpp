#include "base/message_log.h"

#include <gtest/gtest.h>

#include <string>

#include "../support.h"

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
};

TEST_F(MessageLogTest, TypePrefixes) {
    struct Case {
        int type;
        const char* expected;
    } cases[] = {
        {1, "tekst"},
        {2, "waarschuwing : tekst"},
        {3, "fout : tekst"},
        {4, "systeem melding : tekst"},
        {5, "DEBUG MELDING : tekst"},
        {6, "SYSTEM: Unknow message typetekst"},
        {0, "SYSTEM: Unknow message typetekst"},
    };
    for (const Case& c : cases) {
        ReportMessage(log, c.type, "tekst");
        EXPECT_EQ(lines.lines.back(), c.expected) << "type " << c.type;
    }
}

TEST_F(MessageLogTest, PlainPathAloneIsTheLine) {
    ReportMessage(log, kPlain, "C:\\kp\\DEBUG_001.TXT");
    ASSERT_EQ(lines.lines.size(), 1u);
    EXPECT_EQ(lines.lines[0], "C:\\kp\\DEBUG_001.TXT");
}

TEST_F(MessageLogTest, FileAndLinePrefixesStandBeforeTheType) {
    SetMessageFile(log, "KVAPTAB.C");
    SetMessageLine(log, 12);
    ReportMessage(log, kError, "a", "b", "c");
    EXPECT_EQ(lines.lines.back(), "KVAPTAB.C : (12) : fout : abc");
}

TEST_F(MessageLogTest, UnknownTypeLosesTheContext) {
    SetMessageFile(log, "X.H");
    SetMessageLine(log, 3);
    ReportMessage(log, 9, "t");
    EXPECT_EQ(lines.lines.back(), "SYSTEM: Unknow message typet");
}

TEST_F(MessageLogTest, LongFileContextIsLeftOut) {
    std::string name(509, 'a');  // with " : " the context is 512 characters
    SetMessageFile(log, name.c_str());
    SetMessageLine(log, 5);
    ReportMessage(log, kWarning, "x");
    EXPECT_EQ(lines.lines.back(), "(5) : waarschuwing : x");

    std::string shorter(508, 'a');  // 511 characters still fit, but then the line prefix does not
    SetMessageFile(log, shorter.c_str());
    ReportMessage(log, kPlain, "x");
    EXPECT_EQ(lines.lines.back(), shorter + " : x");
}

TEST_F(MessageLogTest, PiecesThatDoNotFitAreLeftOutAndLaterOnesTried) {
    std::string big(541, 'b');  // 3 + 541 reaches 544
    ReportMessage(log, kPlain, "abc", big.c_str(), "def");
    EXPECT_EQ(lines.lines.back(), "abcdef");
    std::string exact(543, 'c');
    ReportMessage(log, kPlain, exact.c_str(), "d");
    EXPECT_EQ(lines.lines.back(), exact);
}

TEST_F(MessageLogTest, FileContextIsCutTo1023Characters) {
    std::string name(2000, 'n');
    SetMessageFile(log, name.c_str());
    EXPECT_EQ(std::string(log.messageFileContext), std::string(1021, 'n') + " :");  // cut to 1023
    SetMessageFile(log, nullptr);
    EXPECT_STREQ(log.messageFileContext, "");
}

TEST_F(MessageLogTest, LineNumbers) {
    struct Step {
        int line;
        const char* expected;
    } steps[] = {
        {-1, "(1) : "}, {41, "(41) : "}, {-1, "(42) : "}, {-3, "(45) : "}, {0, ""}, {-1, "(1) : "},
    };
    for (const Step& s : steps) {
        SetMessageLine(log, s.line);
        EXPECT_STREQ(log.messageLineContext, s.expected) << "line " << s.line;
    }
    SetMessageLine(log, 2147483647);
    EXPECT_STREQ(log.messageLineContext, "(2147483647) : ");
}

TEST_F(MessageLogTest, RefusedLineShowsTheMessageBox) {
    lines.refuse = true;
    ReportMessage(log, kPlain, "x");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "De laatste mededeling kon niet worden toegevoegd aan het mededelingen venster");
    EXPECT_EQ(boxes.boxes[0].caption, "DEBUG MESSAGE");
}

}  // namespace
}  // namespace tavir
