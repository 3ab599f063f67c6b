#include "base/join_path.h"

#include <gtest/gtest.h>

#include <string>

namespace tavir {
namespace {

TEST(JoinPath, Separators) {
    struct Case {
        const char *dir, *name, *expected;
    } cases[] = {
        {"C:\\kp", "KVAPDEF.H", "C:\\kp\\KVAPDEF.H"},
        {"C:\\kp\\", "KVAPDEF.H", "C:\\kp\\KVAPDEF.H"},
        {"/home/kp/", "KVAPDEF.H", "/home/kp/KVAPDEF.H"},
        {"", "KVAPDEF.H", "KVAPDEF.H"},
    };
    for (const Case& c : cases) {
        const char* joined = JoinPath(c.dir, c.name);
        ASSERT_NE(joined, nullptr);
        EXPECT_STREQ(joined, c.expected);
    }
}

TEST(JoinPath, RefusedWhenDirAndNameReach1024) {
    std::string dir(1015, 'd');
    EXPECT_EQ(JoinPath(dir.c_str(), "KVAPDEF.H"), nullptr);  // 1015 + 9 = 1024
    dir.pop_back();
    const char* joined = JoinPath(dir.c_str(), "KVAPDEF.H");  // 1023: the separator still fits
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(std::string(joined).size(), 1024u);
}

}  // namespace
}  // namespace tavir
