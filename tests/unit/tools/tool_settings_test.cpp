#include "tools/tool_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "tools/kind_file_name.h"
#include "tools/pacing.h"
#include "tools_fakes.h"

namespace tavir {
namespace {

// The keys of one section, as text.
class MapSettings : public Settings {
public:
    std::map<std::string, std::string> keys;

    int32_t readInt(const char* key, int32_t defaultValue) override {
        auto found = keys.find(key);
        return found == keys.end() ? defaultValue : static_cast<int32_t>(std::atol(found->second.c_str()));
    }
    size_t readString(const char* key, const char* defaultValue, char* buffer, size_t size) override {
        auto found = keys.find(key);
        const std::string value = found == keys.end() ? defaultValue : found->second;
        return static_cast<size_t>(std::snprintf(buffer, size, "%s", value.c_str()));
    }
    int writeString(const char* key, const char* value) override {
        keys[key] = value;
        return 0;
    }
};

TEST(ToolSettings, TheSweepKeepsItsSwitchesInTwoKeysOfWhichAanWins) {
    const struct {
        const char* aan;
        const char* uit;
        bool selected, switchesOn;
        const char* aanWritten;
        const char* uitWritten;
    } rows[] = {
        {"0", "0", false, false, "0", "0"},
        {"1", "0", true, true, "1", "0"},
        {"0", "1", true, false, "0", "1"},
        {"1", "1", true, true, "1", "0"},
    };
    for (const auto& row : rows) {
        MapSettings settings;
        settings.keys = {{"AFNAME Schakelaar aan", row.aan}, {"AFNAME Schakelaar uit", row.uit}};
        const SweepOptions options = readSweepSettings(settings);
        EXPECT_EQ(options.kinds.has(ParameterKind::SCH), row.selected) << row.aan << row.uit;
        EXPECT_EQ(options.switchesOn, row.switchesOn) << row.aan << row.uit;
        writeSweepSettings(settings, options);
        EXPECT_EQ(settings.keys["AFNAME Schakelaar aan"], row.aanWritten) << row.aan << row.uit;
        EXPECT_EQ(settings.keys["AFNAME Schakelaar uit"], row.uitWritten) << row.aan << row.uit;
        EXPECT_EQ(settings.keys.count("AFNAME Schakelaars"), 0u);
    }
}

TEST(ToolSettings, WrittenKeysReadBackTheSame) {
    MapSettings settings;
    AdjustmentOptions written;
    written.kinds.set(ParameterKind::KLOK, true);
    written.separateFiles = false;
    written.fileName = "C:\\data\\uit.txt";
    writeAdjustmentSettings(settings, written);
    writeSpeedKey(settings, "AANPAS", 300);
    EXPECT_EQ(settings.keys["AANPAS Klokken"], "1");
    EXPECT_EQ(settings.keys["AANPAS Verify action"], "1");
    const AdjustmentOptions read = readAdjustmentSettings(settings);
    EXPECT_TRUE(read.kinds.has(ParameterKind::KLOK));
    EXPECT_FALSE(read.kinds.has(ParameterKind::VG));
    EXPECT_FALSE(read.separateFiles);
    EXPECT_EQ(read.fileName, written.fileName);
    // A speed that is none of the five stays in force, and checks none of the five radio buttons.
    EXPECT_EQ(readSpeedKey(settings, "AANPAS"), 300u);
    EXPECT_EQ(speedChoiceOf(300), -1);
}

TEST(KindFileName, TheSuffixGoesBetweenBaseNameAndExtension) {
    const std::string longBase(300, 'b');
    const struct {
        std::string chosen;
        const char* suffix;
        std::string expected;
    } rows[] = {
        {"C:\\data\\afname.txt", "_VG", "C:\\data\\afname_VG.txt"},
        {"result", "_VG", "result_VG"},
        {"d:/runs/v1.2/afname", "_KLOK", "d:/runs/v1.2/afname_KLOK"},
        {"dir.d\\a.b.txt", "_SCH", "dir.d\\a.b_SCH.txt"},
        {"C:afname.txt", "_ONT", "C:afname_ONT.txt"},
        {".txt", "_MG", "_MG.txt"},
        {"", "_MG", "_MG"},
        {longBase + ".txt", "_MG", std::string(255, 'b') + "_MG.txt"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(kindFileName(row.chosen.c_str(), row.suffix), row.expected) << row.chosen;
}

TEST(Pacing, APaceEndsAtTheFirstTickAnIntervalAfterTheMark) {
    const struct {
        const char* name;
        uint32_t mark, now, longestWait;
        uint32_t endsAt;
        bool waited;
    } rows[] = {
        {"a mark long past: no wait", 0, 5000, 0, 5000, false},
        {"a mark just set: the whole interval", 5000, 5000, 0, 5100, true},
        {"part of the interval passed", 5000, 5030, 0, 5100, true},
        {"a waiter woken early waits again for the rest", 5000, 5000, 7, 5100, true},
        {"the tick counter wraps", 0xFFFFFFC0u, 0xFFFFFFF0u, 0, 0x24, true},
    };
    for (const auto& row : rows) {
        testing::FakeClock clock;
        clock.ms = row.now;
        clock.longestWait = row.longestWait;
        Pacing pacing{&clock, &clock, 100, row.mark};
        pace(pacing);
        EXPECT_EQ(clock.ms, row.endsAt) << row.name;
        EXPECT_EQ(pacing.mark, row.endsAt) << row.name;
        EXPECT_EQ(clock.waits > 0, row.waited) << row.name;
    }
}

}  // namespace
}  // namespace tavir
