// tavir-cli check on applications of our own: the message window's lines, the checker's own
// warnings and the exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "check_command.h"
#include "definitions/definitions_support.h"

namespace tavir::cli {
namespace {

using testing::readFileBytes;

// The example's table source: its one trap (the clock time 8.45, written as 844) replaced by a
// time that travels as it stands, or with from replaced by to as well.
std::string tableSource(const std::string& from = "", const std::string& to = "") {
    std::string text = readFileBytes(std::string(TAVIR_EXAMPLES) + "/demo/KVAPTAB.C");
    text.replace(text.find("8.45"), 4, "8.50");
    if (!from.empty()) text.replace(text.find(from), from.size(), to);
    return text;
}

// A scratch copy of the example application, to which a case adds debug window files.
struct Application {
    testing::ScratchFolder folder{"tavir-cli-check"};
    Application() {
        folder.write("KVAPDEF.H", readFileBytes(std::string(TAVIR_EXAMPLES) + "/demo/KVAPDEF.H"));
        folder.write("KVAPTAB.C", tableSource());
    }
    std::string output;
    int check() {
        std::FILE* out = std::fopen(folder.file("output.txt").c_str(), "wb");
        CheckRequest request;
        request.dir = folder.dir();
        request.dir.pop_back();  // the checker adds the system's separator to the paths it prints
        int code = checkExitCode(checkApplication(request, out));
        std::fclose(out);
        output = readFileBytes(folder.file("output.txt"));
        return code;
    }
};

// A window of one row: the screen line, 23 empty lines and the definitions.
std::string window(const std::string& screen, const std::string& definitions) {
    return screen + "\n" + std::string(23, '\n') + definitions;
}

TEST(Check, PrintsTheMessageWindowsLinesOfAFileWithErrors) {
    Application app;
    std::string path = app.folder.write(
        "DEBUG_001.TXT", readFileBytes(std::string(TAVIR_FIXTURES) + "/debugwin/definition_errors.TXT"));
    EXPECT_EQ(app.check(), 1);
    // The loader's golden lines, with the path the search gives in place of the bare name.
    std::istringstream golden(
        readFileBytes(std::string(TAVIR_FIXTURES) + "/debugwin/definition_errors.golden"));
    std::string line;
    int lines = 0;
    for (; std::getline(golden, line);) {
        if (line.rfind("message ", 0) != 0) continue;
        line = line.substr(8);
        if (line.rfind("definition_errors.TXT", 0) == 0) line = path + line.substr(21);
        EXPECT_NE(app.output.find(line + "\n"), std::string::npos) << line;
        ++lines;
    }
    EXPECT_EQ(lines, 25);
    EXPECT_NE(app.output.find("25 messages with problems"), std::string::npos) << app.output;
}

struct CheckCase {
    const char* name;
    const char* header;  // appended to the example's KVAPDEF.H
    const char* fileName;
    std::string file;  // the table source when fileName is KVAPTAB.C
    int exitCode;
    const char* expected;  // a line, or part of one, of the output
};

class CheckCases : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckCases, GiveTheirLineAndExitCode) {
    const CheckCase& c = GetParam();
    Application app;
    if (*c.header) {
        std::ofstream(app.folder.file("KVAPDEF.H"), std::ios::app) << c.header;
    }
    if (*c.fileName) app.folder.write(c.fileName, c.file);
    if (std::string(c.fileName) == "KVAPTAB.C" && c.file.empty())
        std::filesystem::remove(app.folder.file(c.fileName));
    EXPECT_EQ(app.check(), c.exitCode) << app.output;
    EXPECT_NE(app.output.find(c.expected), std::string::npos) << app.output;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CheckCases,
    ::testing::Values(
        CheckCase{"clean", "", "DEBUG_001.TXT", window(" SG02 ~~~01", "01 R SG02\n"), 0,
                  "1 read, 0 refused; 0 messages with problems, 0 cut-off warnings"},
        CheckCase{"refused", "", "DEBUG_001.TXT", "too short\n", 2,
                  "fout : Geen 'nieuwe regel' karakter aanwezig"},
        CheckCase{
            "doubled display past the right edge", "", "DEBUG_001.TXT", window("~~01", "01 DVWD SG02_D1\n"),
            1,
            "item 01 (row 0, column 0) is 7 characters wide and ends at column 7; the window is 6 columns"},
        CheckCase{"doubled display over a word", "", "DEBUG_001.TXT",
                  window("~~01 bezet xxxxxxxx", "01 DVWD SG02_D1\n"), 1, "covers the text bezet"},
        CheckCase{"datum too narrow", "", "DEBUG_001.TXT", window("~~~~01", "01 datum\n"), 1,
                  "shows datum in 5 characters"},
        CheckCase{"datum wide enough", "", "DEBUG_001.TXT", window("~~~~~01", "01 datum\n"), 0,
                  "0 cut-off warnings"},
        CheckCase{"name beyond the name table", "#define EEN_HEEL_LANGE_NAAM_VAN_32_TEKENS 7\n", "", "", 1,
                  "the name EEN_HEEL_LANGE_NAAM_VAN_32_TEKENS is 33 characters"},
        CheckCase{"byte 0xFF", "", "DEBUG_001.TXT", window(" SG02 ~~~01", "01 R SG02\n\xFF"), 1,
                  "DEBUG_001.TXT:26: a byte 0xFF: TAVIR.EXE stops reading the file here"},
        // The table source as the tools use it.
        CheckCase{"table source missing", "", "KVAPTAB.C", "", 2, "KVAPTAB.C: cannot be read"},
        CheckCase{"table without STOP", "", "KVAPTAB.C", tableSource().substr(0, 3000), 1,
                  "KVAPTAB.C:80: SG_TIJDEN_tabel[]: the table ends without STOP"},
        CheckCase{"entry without a row", "", "KVAPTAB.C", tableSource("    T_KNIPPER,        0.5,\n", ""), 1,
                  "TIJD T_KNIPPER has no value in TIJDEN_tabel[]"},
        CheckCase{"row of too few values", "", "KVAPTAB.C",
                  tableSource("T_KNIPPER,        0.5,", "T_KNIPPER,"), 1,
                  "KVAPTAB.C:157: TIJDEN_tabel[]: a row of 1 values gives no value (it needs 2)"},
        CheckCase{"row naming no entry", "", "KVAPTAB.C", tableSource("T_KNIPPER,", "T_KNIPPERT,"), 1,
                  "KVAPTAB.C:157: TIJDEN_tabel[]: T_KNIPPERT names no entry"},
        CheckCase{"time that truncates", "", "KVAPTAB.C", tableSource("8.50", "8.45"), 1,
                  "KVAPTAB.C:175: KLOK KL_SCHOOL (field 2): 8.450000 is written as 844, not 845"},
        CheckCase{"value 1 as the flag", "", "KVAPTAB.C",
                  tableSource("SG02,  SG05,  1,     3.0", "SG02,  SG05,  1,     0.1"), 1,
                  "ONT SG02>SG05: the value 1 travels as the flag"}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

// A directory without an application gives 2: the test cli_check_missing (cli/CMakeLists.txt).

}  // namespace
}  // namespace tavir::cli
