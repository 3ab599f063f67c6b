#include "shell/window_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/settings_ini.h"

namespace tavir {
namespace {

// Settings in memory that remember the order of the writes.
struct MemorySettings : Settings {
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;

    int32_t readInt(const char* key, int32_t defaultValue) override {
        auto found = values.find(key);
        return found == values.end() || found->second.empty() ? defaultValue
                                                              : iniInteger(found->second.c_str());
    }
    size_t readString(const char* key, const char* defaultValue, char* buffer, size_t size) override {
        auto found = values.find(key);
        std::string value = found == values.end() ? defaultValue : found->second;
        size_t count = std::min(value.size(), size - 1);
        std::memcpy(buffer, value.data(), count);
        buffer[count] = '\0';
        return count;
    }
    int writeString(const char* key, const char* value) override {
        values[key] = value;
        writes.push_back(std::string(key) + "=" + value);
        return 0;
    }
};

TEST(WindowPlacement, DefaultsAndMinimumSize) {
    const struct {
        std::map<std::string, std::string> stored;
        int32_t left, top, width, height;
    } cases[] = {
        {{}, 0, 0, 500, 400},
        {{{"X-positie", "-1200"}, {"Y-positie", "30"}, {"Breedte", "800"}, {"Hoogte", "600"}},
         -1200,
         30,
         800,
         600},
        {{{"Breedte", "50"}, {"Hoogte", "99"}}, 0, 0, 125, 100},
        {{{"Breedte", "125"}, {"Hoogte", "100"}}, 0, 0, 125, 100},
        {{{"Breedte", "0"}, {"Hoogte", "abc"}}, 0, 0, 125, 100},
        // Compared unsigned: a negative size is a very large one and stays.
        {{{"Breedte", "-5"}, {"Hoogte", "-1"}}, 0, 0, -5, -1},
    };
    for (const auto& c : cases) {
        MemorySettings settings;
        settings.values = c.stored;
        WindowPlacement placement = readWindowPlacement(settings);
        EXPECT_EQ(placement.left, c.left);
        EXPECT_EQ(placement.top, c.top);
        EXPECT_EQ(placement.width, c.width);
        EXPECT_EQ(placement.height, c.height);
        EXPECT_TRUE(settings.writes.empty());
    }
}

TEST(WindowRectangle, WrittenInOrderWithTheMinimumSize) {
    const struct {
        int32_t left, top, width, height;
        std::vector<std::string> writes;
    } cases[] = {
        {10, 20, 640, 480, {"X-positie=10", "Y-positie=20", "Breedte=640", "Hoogte=480"}},
        {-32000, -32000, 160, 28, {"X-positie=-32000", "Y-positie=-32000", "Breedte=160", "Hoogte=100"}},
        {0, 0, 0, 0, {"X-positie=0", "Y-positie=0", "Breedte=125", "Hoogte=100"}},
        {0, 0, 124, 99, {"X-positie=0", "Y-positie=0", "Breedte=125", "Hoogte=100"}},
        {0, 0, -3, -4, {"X-positie=0", "Y-positie=0", "Breedte=-3", "Hoogte=-4"}},
    };
    for (const auto& c : cases) {
        MemorySettings settings;
        writeWindowRectangle(settings, c.left, c.top, c.width, c.height);
        EXPECT_EQ(settings.writes, c.writes);
    }
}

TEST(FontSettings, BuiltInFontUnlessAFaceIsStored) {
    const struct {
        std::map<std::string, std::string> stored;
        const char* faceName;
        bool useStoredFont;
        int32_t pointSize, width;
    } cases[] = {
        {{}, "use default", false, 10, 0},
        {{{"Fontnaam", "use default"}, {"Fontpuntgrootte", "24"}, {"Fontbreedte", "9"}},
         "use default",
         false,
         24,
         9},
        {{{"Fontnaam", "Use Default"}}, "Use Default", true, 10, 0},
        {{{"Fontnaam", "Courier New"}, {"Fontpuntgrootte", "12"}}, "Courier New", true, 12, 0},
        {{{"Fontnaam", "Lucida Sans Typewriter Bold"}}, "Lucida Sans Typewri", true, 10, 0},
        {{{"Fontnaam", ""}}, "", true, 10, 0},
    };
    for (const auto& c : cases) {
        MemorySettings settings;
        settings.values = c.stored;
        FontSettings font = readFontSettings(settings);
        EXPECT_STREQ(font.faceName, c.faceName);
        EXPECT_EQ(font.useStoredFont, c.useStoredFont) << c.faceName;
        EXPECT_EQ(font.pointSize, c.pointSize);
        EXPECT_EQ(font.width, c.width);
    }
}

TEST(FontSettings, WrittenInOrder) {
    MemorySettings settings;
    writeFontSettings(settings, "Courier New", 12, 0);
    EXPECT_EQ(settings.writes,
              (std::vector<std::string>{"Fontnaam=Courier New", "Fontpuntgrootte=12", "Fontbreedte=0"}));
}

}  // namespace
}  // namespace tavir
