// The same cases run against every Settings implementation of the build: natively the portable
// file reader, in the Windows build also the platform's profile calls. Where Wine's profile calls
// are known to write differently from Windows, the case gives both results.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "../scratch_folder.h"
#include "shell/settings_ini.h"
#include "shell/window_settings.h"

#ifdef _WIN32
#include <windows.h>

#include "shell/settings_win32.h"
#endif

namespace tavir {
namespace {

struct PortableSettings {
    static constexpr bool kPlatform = false;
    static std::unique_ptr<Settings> make(const std::string& path, const char* section) {
        return std::make_unique<IniFileSettings>(path.c_str(), section);
    }
};

#ifdef _WIN32
struct PlatformSettings {
    static constexpr bool kPlatform = true;
    static std::unique_ptr<Settings> make(const std::string& path, const char* section) {
        return std::make_unique<ProfileSettings>(path.c_str(), section);
    }
};
using Implementations = ::testing::Types<PortableSettings, PlatformSettings>;

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
#else
using Implementations = ::testing::Types<PortableSettings>;
bool underWine() {
    return false;
}
#endif

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class Impl>
class SettingsTest : public ::testing::Test {
protected:
    // A fresh file for every case: the platform keeps recently used files in memory and must
    // never be handed a stale one.
    std::string newPath() { return (folder_.path() / ("case" + std::to_string(cases_++) + ".ini")).string(); }

    std::string withFile(const char* content) {
        std::string path = newPath();
        if (content != nullptr) std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::unique_ptr<Settings> settings(const std::string& path, const char* section = "Hoofdvenster") {
        return Impl::make(path, section);
    }

    // The bytes a write is expected to leave: Windows keeps every line it does not change; Wine
    // writes the whole file anew, without blank lines and with its own spacing and line breaks.
    static const char* expectedFile(const char* windows, const char* wine) {
        return Impl::kPlatform && underWine() && wine != nullptr ? wine : windows;
    }

    testing::ScratchFolder folder_{"tavir-settings"};
    int cases_ = 0;
};

TYPED_TEST_SUITE(SettingsTest, Implementations);

TYPED_TEST(SettingsTest, ReadsStringsAsWrittenByHandOrByWindows) {
    const struct {
        const char* file;
        const char* key;
        const char* expected;
    } cases[] = {
        {"[Hoofdvenster]\r\nFontnaam=Courier New\r\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\nFontnaam=Courier New\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\rFontnaam=Courier New\rA=1", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\nFontnaam=Courier New", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\n  Fontnaam  =  Courier New  \r\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\n\tFontnaam\t=\tCourier New\t\x1A\r\n", "Fontnaam", "Courier New"},
        {"  [Hoofdvenster]  \r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[ Hoofdvenster\t]\r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]]\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[hoofdVENSTER]\r\nfontNAAM=Arial\r\n", "FONTNAAM", "Arial"},
        {"[Hoofdvenster] gewijzigd\r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"\xEF\xBB\xBF[Hoofdvenster]\r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]\r\n; Fontnaam=Terminal\r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]\r\nFontnaam=Arial ; Terminal\r\n", "Fontnaam", "Arial ; Terminal"},
        {"[Hoofdvenster]\r\nFontnaam=a=b\r\n", "Fontnaam", "a=b"},
        {"[Hoofdvenster]\r\nFontnaam=\r\n", "Fontnaam", ""},
        {"[Hoofdvenster]\r\nFontnaam=\"Courier New\"\r\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\nFontnaam='Courier New'\r\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\nFontnaam=\"Courier New'\r\n", "Fontnaam", "\"Courier New'"},
        {"[Hoofdvenster]\r\nFontnaam=\"Courier\r\n", "Fontnaam", "\"Courier"},
        {"[Hoofdvenster]\r\nFontnaam=\"\"\r\n", "Fontnaam", ""},
        {"[Hoofdvenster]\r\nFontnaam=\"\r\n", "Fontnaam", "\""},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\nFontnaam=Terminal\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]\r\nFontnaam=Caf\xE9\r\n", "Fontnaam", "Caf\xE9"},
        // Not found: the default.
        {"Fontnaam=Arial\r\n[Hoofdvenster]\r\n", "Fontnaam", "use default"},
        {"[Anders]\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[Hoofdvenster]\r\n[Anders]\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[Anders]\r\n[Hoofdvenster\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[Hoofdvenster]\r\n; Fontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[Hoofdvenster]\r\nFontnaam\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        // Only the first section of a name counts.
        {"[Hoofdvenster]\r\nA=1\r\n[Anders]\r\n[HOOFDVENSTER]\r\nFontnaam=Arial\r\n", "Fontnaam",
         "use default"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.file)));
        char buffer[64];
        auto settings = this->settings(this->withFile(c.file));
        size_t count = settings->readString(c.key, "use default", buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(count, std::string(c.expected).size());
    }
}

TYPED_TEST(SettingsTest, StringsAreCutToTheBuffer) {
    const struct {
        const char* file;
        const char* defaultValue;
        size_t size;
        const char* expected;
    } cases[] = {
        {"[Hoofdvenster]\r\nFontnaam=Lucida Sans Typewriter Bold\r\n", "", 20, "Lucida Sans Typewri"},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\n", "", 6, "Arial"},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\n", "", 5, "Aria"},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\n", "", 1, ""},
        {"[Hoofdvenster]\r\nFontnaam=\"Lucida Console\"\r\n", "", 20, "Lucida Console"},
        {"[Hoofdvenster]\r\nFontnaam=\"Lucida Console\"\r\n", "", 5, "Luci"},
        {"[Hoofdvenster]\r\n", "use default", 20, "use default"},
        {"[Hoofdvenster]\r\n", "use default", 4, "use"},
        {"[Hoofdvenster]\r\n", "  padded  ", 20, "  padded"},
        {"[Hoofdvenster]\r\n", "\"quoted\"  ", 20, "quoted"},
        {"[Hoofdvenster]\r\n", " \"quoted\"", 20, " \"quoted\""},
        {nullptr, "use default", 20, "use default"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.file ? c.file : "(no file)")));
        char buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        auto settings = this->settings(this->withFile(c.file));
        size_t count = settings->readString("Fontnaam", c.defaultValue, buffer, c.size);
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(count, std::string(c.expected).size());
        EXPECT_EQ(buffer[c.size], '#') << "wrote beyond the buffer";
    }
}

TYPED_TEST(SettingsTest, ReadsIntegers) {
    const struct {
        const char* value;  // nullptr: no such key
        int32_t expected;
    } cases[] = {
        {"12", 12},
        {"   12  ", 12},
        {"-5", -5},
        {"+7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"- 5", 0},
        {"0x10", 16},
        {"0xAbC", 2748},
        {"-0x10", -16},
        {"0X10", 0},
        {"0x", 0},
        {"0b101", 5},
        {"0o17", 15},
        {"010", 10},
        {"\"42\"", 42},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967297", 1},
        {"-4294967297", -1},
        {"99999999999", 1215752191},
        // Only the first 29 characters of a value are looked at.
        {"000000000000000000000000000001", 0},
        {"00000000000000000000000000001", 1},
        {"", 77},
        {"\"\"", 77},
        {nullptr, 77},
    };
    for (const auto& c : cases) {
        std::string file = "[Hoofdvenster]\r\n";
        if (c.value != nullptr) file += std::string("Breedte=") + c.value + "\r\n";
        SCOPED_TRACE(::testing::PrintToString(file));
        EXPECT_EQ(this->settings(this->withFile(file.c_str()))->readInt("Breedte", 77), c.expected);
    }
    EXPECT_EQ(this->settings(this->withFile(nullptr))->readInt("Breedte", -3), -3);
}

TYPED_TEST(SettingsTest, WritesKeysIntoTheFile) {
    const struct {
        const char* before;  // nullptr: no file yet
        const char* key;
        const char* value;
        const char* windows;
        const char* wine;  // nullptr: as on Windows
    } cases[] = {
        {nullptr, "X-positie", "12", "[Hoofdvenster]\r\nX-positie=12\r\n", nullptr},
        {"", "X-positie", "12", "[Hoofdvenster]\r\nX-positie=12\r\n", nullptr},
        {"[Anders]\r\nA=1", "X-positie", "12", "[Anders]\r\nA=1\r\n[Hoofdvenster]\r\nX-positie=12\r\n",
         nullptr},
        {"[Hoofdvenster]\r\nX-positie=1\r\nY-positie=2\r\n", "X-positie", "-12",
         "[Hoofdvenster]\r\nX-positie=-12\r\nY-positie=2\r\n", nullptr},
        {"[hoofdvenster]\r\nx-POSITIE=1\r\n", "X-positie", "12", "[hoofdvenster]\r\nx-POSITIE=12\r\n",
         nullptr},
        {"[Hoofdvenster]\r\nY-positie=2\r\n[Anders]\r\nA=1\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n[Anders]\r\nA=1\r\n", nullptr},
        {"[Hoofdvenster]\r\nY-positie=2\r\n[Anders]\r\n[Hoofdvenster]\r\nX-positie=1\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n[Anders]\r\n[Hoofdvenster]\r\nX-positie=1\r\n",
         nullptr},
        {"; instellingen\r\n[Hoofdvenster]\r\n; positie\r\nX-positie=1\r\n", "X-positie", "12",
         "; instellingen\r\n[Hoofdvenster]\r\n; positie\r\nX-positie=12\r\n", nullptr},
        {"[Hoofdvenster]\r\nX-positie\r\n", "X-positie", "12", "[Hoofdvenster]\r\nX-positie=12\r\n", nullptr},
        {"[Hoofdvenster]\r\n", "Fontnaam", " \t Courier New  ",
         "[Hoofdvenster]\r\nFontnaam=Courier New  \r\n", nullptr},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\n", "Fontnaam", "", "[Hoofdvenster]\r\nFontnaam=\r\n", nullptr},
        // Windows changes the one line; Wine writes the whole file in its own layout.
        {"[Anders]\r\nA=1\r\n\r\n[Hoofdvenster]\r\nX-positie=1\r\n\r\n", "X-positie", "12",
         "[Anders]\r\nA=1\r\n\r\n[Hoofdvenster]\r\nX-positie=12\r\n\r\n",
         "[Anders]\r\nA=1\r\n[Hoofdvenster]\r\nX-positie=12\r\n"},
        {"[Hoofdvenster]\r\nY-positie=2\r\n\r\n[Anders]\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n\r\n[Anders]\r\n",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n[Anders]\r\n"},
        {"[Hoofdvenster]\r\n  X-positie = 1  \r\n Y-positie = 2\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\n  X-positie =12\r\n Y-positie = 2\r\n",
         "[Hoofdvenster]\r\nX-positie=12\r\nY-positie=2\r\n"},
        {"[Hoofdvenster]\nX-positie=1\nY-positie=2\n", "X-positie", "12",
         "[Hoofdvenster]\nX-positie=12\nY-positie=2\n", "[Hoofdvenster]\r\nX-positie=12\r\nY-positie=2\r\n"},
        {"[Hoofdvenster]\nY-positie=2", "X-positie", "12", "[Hoofdvenster]\nY-positie=2\r\nX-positie=12\r\n",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.before ? c.before : "(no file)")));
        std::string path = this->withFile(c.before);
        EXPECT_EQ(this->settings(path)->writeString(c.key, c.value), 0);
        EXPECT_EQ(fileText(path), this->expectedFile(c.windows, c.wine));
    }
}

TYPED_TEST(SettingsTest, WrittenValuesReadBack) {
    std::string path = this->withFile(nullptr);
    auto settings = this->settings(path);
    const struct {
        const char* key;
        int32_t value;
    } numbers[] = {{"X-positie", -32000}, {"Y-positie", 0}, {"Breedte", INT32_MAX}, {"Hoogte", INT32_MIN}};
    for (const auto& n : numbers) EXPECT_EQ(settings->writeInt(n.key, n.value), 0);
    EXPECT_EQ(settings->writeString("Fontnaam", "Courier New"), 0);
    EXPECT_EQ(settings->writeString("VERSCHILLEN File name", "C:\\kp\\verschillen.txt"), 0);
    EXPECT_EQ(settings->writeInt("Y-positie", 15), 0);

    auto again = this->settings(path);
    EXPECT_EQ(again->readInt("X-positie", 1), -32000);
    EXPECT_EQ(again->readInt("y-positie", 1), 15);
    EXPECT_EQ(again->readInt("Breedte", 1), INT32_MAX);
    EXPECT_EQ(again->readInt("Hoogte", 1), INT32_MIN);
    char buffer[64];
    again->readString("Fontnaam", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Courier New");
    again->readString("verschillen file NAME", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "C:\\kp\\verschillen.txt");
    EXPECT_EQ(
        fileText(path),
        "[Hoofdvenster]\r\nX-positie=-32000\r\nY-positie=15\r\nBreedte=2147483647\r\n"
        "Hoogte=-2147483648\r\nFontnaam=Courier New\r\nVERSCHILLEN File name=C:\\kp\\verschillen.txt\r\n");
}

TYPED_TEST(SettingsTest, SectionIsChosenByTheCaller) {
    std::string path = this->withFile("[Hoofdvenster]\r\nA=1\r\n[Anders]\r\nA=2\r\n");
    EXPECT_EQ(this->settings(path, "Anders")->readInt("A", 0), 2);
    EXPECT_EQ(this->settings(path, "Derde")->writeInt("A", 3), 0);
    EXPECT_EQ(this->settings(path)->readInt("A", 0), 1);
    EXPECT_EQ(fileText(path), "[Hoofdvenster]\r\nA=1\r\n[Anders]\r\nA=2\r\n[Derde]\r\nA=3\r\n");
}

TYPED_TEST(SettingsTest, WriteIntoAMissingDirectoryFails) {
    std::string path = (this->folder_.path() / "missing" / "tavir.ini").string();
    EXPECT_EQ(this->settings(path)->writeInt("Breedte", 300), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(this->settings(path)->readInt("Breedte", 500), 500);
}

TYPED_TEST(SettingsTest, WindowKeysRoundTrip) {
    std::string path = this->withFile(nullptr);
    auto settings = this->settings(path);
    WindowPlacement fresh = readWindowPlacement(*settings);
    EXPECT_EQ(fresh.left, 0);
    EXPECT_EQ(fresh.top, 0);
    EXPECT_EQ(fresh.width, 500);
    EXPECT_EQ(fresh.height, 400);
    EXPECT_FALSE(std::filesystem::exists(path)) << "reading must not create the file";

    writeWindowRectangle(*settings, -8, 20, 50, 640);
    writeFontSettings(*settings, "Lucida Sans Typewriter Bold", 12, 7);
    EXPECT_EQ(fileText(path),
              "[Hoofdvenster]\r\nX-positie=-8\r\nY-positie=20\r\nBreedte=125\r\nHoogte=640\r\n"
              "Fontnaam=Lucida Sans Typewriter Bold\r\nFontpuntgrootte=12\r\nFontbreedte=7\r\n");

    WindowPlacement placement = readWindowPlacement(*settings);
    EXPECT_EQ(placement.left, -8);
    EXPECT_EQ(placement.top, 20);
    EXPECT_EQ(placement.width, 125);
    EXPECT_EQ(placement.height, 640);
    FontSettings font = readFontSettings(*settings);
    EXPECT_STREQ(font.faceName, "Lucida Sans Typewri");
    EXPECT_TRUE(font.useStoredFont);
    EXPECT_EQ(font.pointSize, 12);
    EXPECT_EQ(font.width, 7);
}

}  // namespace
}  // namespace tavir
