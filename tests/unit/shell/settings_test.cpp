// The same cases run against every Settings implementation of the build: natively the portable
// file reader, in the Windows build also the platform's profile calls. Where Wine's profile calls
// are known to write differently from Windows, the case gives both results.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "../definitions/definitions_support.h"
#include "shell/settings_ini.h"
#include "shell/settings_path.h"
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

TYPED_TEST(SettingsTest, ReadsStringsAsWrittenByHandOrByWindowsCutToTheBuffer) {
    const struct {
        const char* file;  // none: no file
        const char* key;
        const char* expected;
        const char* defaultValue = "use default";
        size_t size = 64;
    } cases[] = {
        {"[Hoofdvenster]\nFontnaam=Courier New\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\n\tFontnaam\t=\tCourier New\t\x1A\r\n", "Fontnaam", "Courier New"},
        {"  [ Hoofdvenster\t]  \r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]]\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        {"[hoofdVENSTER] gewijzigd\r\nfontNAAM=Arial\r\n", "FONTNAAM", "Arial"},
        {"\xEF\xBB\xBF[Hoofdvenster]\r\nFontnaam=Arial\r\n", "Fontnaam", "Arial"},
        {"[Hoofdvenster]\r\n; Fontnaam=Terminal\r\nFontnaam=Arial ; Terminal\r\n", "Fontnaam",
         "Arial ; Terminal"},
        {"[Hoofdvenster]\r\nFontnaam='Courier New'\r\n", "Fontnaam", "Courier New"},
        {"[Hoofdvenster]\r\nFontnaam=\"Courier New'\r\n", "Fontnaam", "\"Courier New'"},
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\nFontnaam=Terminal\r\n", "Fontnaam", "Arial"},
        // Not found: the default.
        {"Fontnaam=Arial\r\n[Hoofdvenster]\r\n", "Fontnaam", "use default"},
        {"[Hoofdvenster]\r\nFontnaam\r\nFontnaam=Arial\r\n", "Fontnaam", "use default"},
        // Only the first section of a name counts.
        {"[Hoofdvenster]\r\nA=1\r\n[Anders]\r\n[HOOFDVENSTER]\r\nFontnaam=Arial\r\n", "Fontnaam",
         "use default"},
        // Cut to the buffer, the default too; without a file the default comes back as given.
        {"[Hoofdvenster]\r\nFontnaam=Arial\r\n", "Fontnaam", "Aria", "", 5},
        {"[Hoofdvenster]\r\nFontnaam=\"Lucida Console\"\r\n", "Fontnaam", "Luci", "", 5},
        {"[Hoofdvenster]\r\n", "Fontnaam", "use", "use default", 4},
        {"[Hoofdvenster]\r\n", "Fontnaam", "quoted", "\"quoted\"  ", 20},
        {nullptr, "Fontnaam", " \"quoted\"", " \"quoted\"", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.file ? c.file : "(no file)")));
        char buffer[65];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        size_t count =
            this->settings(this->withFile(c.file))->readString(c.key, c.defaultValue, buffer, c.size);
        EXPECT_STREQ(buffer, c.expected);
        EXPECT_EQ(count, std::string(c.expected).size());
        EXPECT_EQ(buffer[c.size], '#') << "wrote beyond the buffer";
    }
}

TYPED_TEST(SettingsTest, ReadsIntegers) {
    const std::pair<const char*, int32_t> cases[] = {
        // the value (none: no such key) and what is read
        {"   -5  ", -5},
        {"12abc", 12},
        {"- 5", 0},
        {"0xAbC", 2748},
        {"-0x10", -16},
        {"0X10", 0},
        {"0b101", 5},
        {"0o17", 15},
        {"\"42\"", 42},
        {"2147483648", INT32_MIN},
        // Only the first 29 characters of a value are looked at.
        {"000000000000000000000000000001", 0},
        {"00000000000000000000000000001", 1},
        {"", 77},
        {nullptr, 77},
    };
    for (auto [value, expected] : cases) {
        std::string file = "[Hoofdvenster]\r\n";
        if (value != nullptr) file += std::string("Breedte=") + value + "\r\n";
        SCOPED_TRACE(::testing::PrintToString(file));
        EXPECT_EQ(this->settings(this->withFile(file.c_str()))->readInt("Breedte", 77), expected);
    }
}

TYPED_TEST(SettingsTest, WritesKeysIntoTheFile) {
    // The file before (none: no file yet), the key and value written, and the file after on Windows
    // and under Wine (none: as on Windows).
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        {nullptr, "X-positie", "12", "[Hoofdvenster]\r\nX-positie=12\r\n", nullptr},
        {"[Anders]\r\nA=1", "X-positie", "12", "[Anders]\r\nA=1\r\n[Hoofdvenster]\r\nX-positie=12\r\n",
         nullptr},
        {"[hoofdvenster]\r\nx-POSITIE=1\r\nY-positie=2\r\n", "X-positie", "-12",
         "[hoofdvenster]\r\nx-POSITIE=-12\r\nY-positie=2\r\n", nullptr},
        {"[Hoofdvenster]\r\nY-positie=2\r\n[Anders]\r\n[Hoofdvenster]\r\nX-positie=1\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n[Anders]\r\n[Hoofdvenster]\r\nX-positie=1\r\n",
         nullptr},
        {"; instellingen\r\n[Hoofdvenster]\r\n; positie\r\nX-positie\r\n", "X-positie", "12",
         "; instellingen\r\n[Hoofdvenster]\r\n; positie\r\nX-positie=12\r\n", nullptr},
        {"[Hoofdvenster]\r\n", "Fontnaam", " \t Courier New  ",
         "[Hoofdvenster]\r\nFontnaam=Courier New  \r\n", nullptr},
        // Windows changes the one line; Wine writes the whole file in its own layout.
        {"[Anders]\r\nA=1\r\n\r\n[Hoofdvenster]\r\nX-positie=1\r\n\r\n", "X-positie", "12",
         "[Anders]\r\nA=1\r\n\r\n[Hoofdvenster]\r\nX-positie=12\r\n\r\n",
         "[Anders]\r\nA=1\r\n[Hoofdvenster]\r\nX-positie=12\r\n"},
        {"[Hoofdvenster]\r\n  X-positie = 1  \r\n Y-positie = 2\r\n", "X-positie", "12",
         "[Hoofdvenster]\r\n  X-positie =12\r\n Y-positie = 2\r\n",
         "[Hoofdvenster]\r\nX-positie=12\r\nY-positie=2\r\n"},
        {"[Hoofdvenster]\nY-positie=2", "X-positie", "12", "[Hoofdvenster]\nY-positie=2\r\nX-positie=12\r\n",
         "[Hoofdvenster]\r\nY-positie=2\r\nX-positie=12\r\n"},
    };
    for (auto [before, key, value, windows, wine] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(before ? before : "(no file)")));
        std::string path = this->withFile(before);
        EXPECT_EQ(this->settings(path)->writeString(key, value), 0);
        EXPECT_EQ(testing::readFileBytes(path), this->expectedFile(windows, wine));
    }
}

TYPED_TEST(SettingsTest, SectionsKeysAndAMissingDirectory) {
    std::string path = this->withFile("[Hoofdvenster]\r\nA=1\r\n[Anders]\r\nA=2\r\n");
    EXPECT_EQ(this->settings(path, "Anders")->readInt("A", 0), 2);
    EXPECT_EQ(this->settings(path, "Derde")->writeInt("A", INT32_MIN), 0);
    EXPECT_EQ(this->settings(path)->writeString("VERSCHILLEN File name", "C:\\kp\\v.txt"), 0);
    EXPECT_EQ(testing::readFileBytes(path),
              "[Hoofdvenster]\r\nA=1\r\nVERSCHILLEN File name=C:\\kp\\v.txt\r\n[Anders]\r\nA=2\r\n"
              "[Derde]\r\nA=-2147483648\r\n");
    char buffer[64];
    this->settings(path)->readString("verschillen file NAME", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "C:\\kp\\v.txt");
    EXPECT_EQ(this->settings(path, "Derde")->readInt("a", 0), INT32_MIN);

    std::string missing = (this->folder_.path() / "missing" / "tavir.ini").string();
    EXPECT_EQ(this->settings(missing)->writeInt("Breedte", 300), -1);
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// The debugger window's keys: defaults, the minimum size (compared unsigned, so a negative size
// stays), the built-in font unless a face is stored, and the order of the writes.
TYPED_TEST(SettingsTest, WindowKeys) {
    const std::pair<const char*, const char*> cases[] = {
        // the file (none: no file) and what is read
        {nullptr, "0 0 500 400, use default, built-in, 10 pt"},
        {"[Hoofdvenster]\r\nX-positie=-1200\r\nBreedte=124\r\nHoogte=abc\r\nFontpuntgrootte=24\r\n",
         "-1200 0 125 100, use default, built-in, 24 pt"},
        {"[Hoofdvenster]\r\nBreedte=-5\r\nFontnaam=Use Default\r\n",
         "0 0 -5 400, Use Default, stored, 10 pt"},
    };
    for (auto [file, expected] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(file ? file : "(no file)")));
        std::string path = this->withFile(file);
        auto settings = this->settings(path);
        const WindowPlacement p = readWindowPlacement(*settings);
        const FontSettings font = readFontSettings(*settings);
        char read[128];
        std::snprintf(read, sizeof read, "%d %d %d %d, %s, %s, %d pt", p.left, p.top, p.width, p.height,
                      font.faceName, font.useStoredFont ? "stored" : "built-in", font.pointSize);
        EXPECT_STREQ(read, expected);
        EXPECT_EQ(std::filesystem::exists(path), file != nullptr) << "reading must not create the file";
    }
    std::string path = this->withFile(nullptr);
    writeWindowRectangle(*this->settings(path), -8, 20, 50, -640);
    writeFontSettings(*this->settings(path), "Courier New", 12, 7);
    EXPECT_EQ(testing::readFileBytes(path),
              "[Hoofdvenster]\r\nX-positie=-8\r\nY-positie=20\r\nBreedte=125\r\nHoogte=-640\r\n"
              "Fontnaam=Courier New\r\nFontpuntgrootte=12\r\nFontbreedte=7\r\n");
}

// Where the settings file is: tavir.ini in the program's directory, while the path fits.
TEST(SettingsPath, DirectoryAndName) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\kp", "C:\\kp\\tavir.ini"},
        {"C:\\kp\\", "C:\\kp\\tavir.ini"},
        {"/home/kp/", "/home/kp/tavir.ini"},
        {"", "tavir.ini"},
        // 502 + 9 stays below 512: the separator makes the path exactly 512 characters.
        {std::string(502, 'd'), std::string(502, 'd') + "\\tavir.ini"},
        {std::string(503, 'd'), "tavir.ini"},
        {std::string(2000, 'd'), "tavir.ini"},
    };
    for (const auto& [directory, expected] : cases) {
        char iniPath[kSettingsPathCapacity + 1];
        std::memset(iniPath, '#', sizeof iniPath);
        SettingsPath(directory.c_str(), iniPath);
        EXPECT_EQ(std::string(iniPath), expected) << "directory of " << directory.size() << " characters";
    }
}

}  // namespace
}  // namespace tavir
