#include "tools/kind_file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tavir {
namespace {

TEST(KindFileName, TheSuffixGoesBetweenBaseNameAndExtension) {
    const std::string longBase(300, 'b');
    const struct {
        std::string chosen;
        const char* suffix;
        std::string expected;
    } rows[] = {
        {"C:\\data\\afname.txt", "_VG", "C:\\data\\afname_VG.txt"},
        {"result", "_VG", "result_VG"},
        {"afname.txt", "_EGGPARM", "afname_EGGPARM.txt"},
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

}  // namespace
}  // namespace tavir
