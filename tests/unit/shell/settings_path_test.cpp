#include "shell/settings_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tavir {
namespace {

TEST(SettingsPath, DirectoryAndName) {
    const struct {
        std::string directory, expected;
    } cases[] = {
        {"C:\\kp", "C:\\kp\\tavir.ini"},
        {"C:\\kp\\", "C:\\kp\\tavir.ini"},
        {"/home/kp/", "/home/kp/tavir.ini"},
        {"", "tavir.ini"},
        // 502 + 9 stays below 512: the separator makes the path exactly 512 characters.
        {std::string(502, 'd'), std::string(502, 'd') + "\\tavir.ini"},
        {std::string(503, 'd'), "tavir.ini"},
        {std::string(2000, 'd'), "tavir.ini"},
    };
    for (const auto& c : cases) {
        char iniPath[kSettingsPathCapacity + 1];
        std::memset(iniPath, '#', sizeof iniPath);
        SettingsPath(c.directory.c_str(), iniPath);
        EXPECT_EQ(std::string(iniPath), c.expected) << "directory of " << c.directory.size() << " characters";
    }
}

}  // namespace
}  // namespace tavir
