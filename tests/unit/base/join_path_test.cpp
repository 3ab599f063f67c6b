#include "base/join_path.h"

#include <gtest/gtest.h>

#include <string>

namespace tavir {
namespace {

TEST(JoinPath, OneSeparatorAndTheLimitOf1024) {
    EXPECT_STREQ(JoinPath("C:\\kp", "KVAPDEF.H"), "C:\\kp\\KVAPDEF.H");
    EXPECT_STREQ(JoinPath("/home/kp/", "KVAPDEF.H"), "/home/kp/KVAPDEF.H");
    EXPECT_STREQ(JoinPath("", "KVAPDEF.H"), "KVAPDEF.H");
    std::string dir(1015, 'd');
    EXPECT_EQ(JoinPath(dir.c_str(), "KVAPDEF.H"), nullptr);  // 1015 + 9 = 1024
    dir.pop_back();
    const char* joined = JoinPath(dir.c_str(), "KVAPDEF.H");  // the separator still fits
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(std::string(joined).size(), 1024u);
}

}  // namespace
}  // namespace tavir
