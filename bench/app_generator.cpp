#include "app_generator.h"

#include <cstdarg>
#include <cstdio>
#include <stdexcept>

namespace tavir::bench {

namespace {

constexpr int kBuiltInMacros = 135;
constexpr int kMacroCapacity = 10000;

// Values are written as tenths (or hundredths for clocks) so that reading them back gives the
// same double as the division here.
int vgTenths(int i) {
    return 40 + i % 7;
}
int glTenths(int i) {
    return 30 + i % 4;
}
int mgTenths(int i) {
    return 200 + i % 50;
}
bool extraMgIsNg(int i, int k) {
    return (i + k) % 5 == 0;
}
int extraMgTenths(int i, int k) {
    return 100 + i + k;
}
int occupancyTenths(int i) {
    return 10 + i % 20;
}
int gap1Tenths(int i) {
    return 20 + i % 30;
}
bool gap2IsNg(int i) {
    return i % 16 == 15;
}
int gap2Tenths(int i) {
    return 30 + i % 40;
}
int timerTenths(int i) {
    return 5 + i;
}
int clock1Hundredths(int i) {
    return (6 + i % 12) * 100 + i % 60;
}
int clock2Hundredths(int i) {
    return (18 + i % 5) * 100 + (i * 7) % 60;
}
int eparmTenths(int i) {
    return i % 1000;
}
int clearanceTenths(int row) {
    return 20 + row % 40;
}

std::string format(const char* pattern, ...) {
    char buffer[128];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    return buffer;
}

std::string tenths(int value) {
    return format("%s%d.%d", value < 0 ? "-" : "", (value < 0 ? -value : value) / 10,
                  (value < 0 ? -value : value) % 10);
}

class Writer {
public:
    explicit Writer(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (!file_) throw std::runtime_error("cannot write " + path);
    }
    ~Writer() {
        if (file_) std::fclose(file_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void line(const std::string& text) {
        std::fputs(text.c_str(), file_);
        std::fputs("\r\n", file_);
    }
    void close() {
        bool failed = std::ferror(file_) != 0;
        failed = std::fclose(file_) != 0 || failed;
        file_ = nullptr;
        if (failed) throw std::runtime_error("write failed");
    }

private:
    std::FILE* file_;
};

// The header's defines, written at column 0 while the MacroTable can still take them.
class HeaderWriter {
public:
    explicit HeaderWriter(const std::string& path) : out_(path) {}
    void line(const std::string& text) { out_.line(text); }
    void define(const std::string& name, int value) {
        bool fits = budget_ > 0;
        if (fits) --budget_;
        out_.line(format("%s#define %-23s %d", fits ? "" : " ", name.c_str(), value));
    }
    template <typename NameOf>
    void section(const char* comment, int count, NameOf nameOf, const char* countName) {
        line("");
        line(format("/* %s */", comment));
        for (int i = 0; i < count; ++i) define(nameOf(i), i);
        define(countName, count);
    }
    void close() { out_.close(); }

private:
    Writer out_;
    int budget_ = kMacroCapacity - kBuiltInMacros;
};

void writeHeader(const std::string& path, const ApplicationShape& shape) {
    HeaderWriter out(path);
    out.line("/* KVAPDEF.H: arraynummers van de applicatie (gegenereerd) */");
    out.line("#ifndef KVAPDEF_H");
    out.line("#define KVAPDEF_H");
    out.section("declaratie arraynummers voor signaalgroepen", shape.signalGroups, signalGroupName, "NUMSG");
    out.section("declaratie arraynummers voor detectoren", shape.detectors, detectorName, "NUMD");
    out.section("declaratie arraynummers voor tijden", shape.timers, timerName, "NUMT");
    out.section("declaratie arraynummers voor klokken", shape.clocks, clockName, "NUMKL");
    out.section("declaratie arraynummers voor schakelaars", shape.switches, switchName, "NUMSCH");
    out.section("declaratie arraynummers voor extra parameters", shape.eparms, eparmName, "NUMEP");
    out.section("declaratie arraynummers voor extra geheel getal parameters", shape.eggparms, eggparmName,
                "NUMEGGP");
    out.line("");
    out.line("#endif");
    out.close();
}

void tableEnd(Writer& out) {
    out.line("    STOP");
    out.line("};");
    out.line("");
}

void writeTableSource(const std::string& path, const ApplicationShape& shape) {
    Writer out(path);
    out.line("/* KVAPTAB.C: parameters van de applicatie (gegenereerd) */");
    out.line("#include \"KVAPDEF.H\"");
    out.line("");

    out.line("const CONFLICT_T CONFLICT_tabel[] = {");
    out.line("    /* van, naar, soort, ontruimingstijd */");
    for (int r = 0; r < shape.clearances; ++r) {
        int from = 0, to = 0;
        double time = 0;
        clearanceOf(r, shape.signalGroups, &from, &to, &time);
        out.line(format("    %s, %s, 0, %s,", signalGroupName(from).c_str(), signalGroupName(to).c_str(),
                        tenths(clearanceTenths(r)).c_str()));
    }
    tableEnd(out);

    out.line("const SG_TIJDEN_T SG_TIJDEN_tabel[] = {");
    for (int i = 0; i < shape.signalGroups; ++i) {
        out.line(format("    %s, 0, %s, 0, %s, 0,", signalGroupName(i).c_str(), tenths(vgTenths(i)).c_str(),
                        tenths(glTenths(i)).c_str()));
    }
    tableEnd(out);

    const char* mgTables[] = {"MG_TIJDEN_tabel[]", "E_MG_TIJDEN_tabel[]", "E2_MG_TIJDEN_tabel[]",
                              "E3_MG_TIJDEN_tabel[]"};
    for (int t = 0; t < 4; ++t) {
        out.line(format("const MG_TIJDEN_T %s = {", mgTables[t]));
        for (int i = 0; i < shape.signalGroups; ++i) {
            std::string row = "    " + signalGroupName(i) + ",";
            if (t == 0) row += " " + tenths(mgTenths(i)) + ",";
            for (int k = 3 * t + 1; k <= 3 * t + 3; ++k) {
                row += extraMgIsNg(i, k) ? " NG," : " " + tenths(extraMgTenths(i, k)) + ",";
            }
            out.line(row);
        }
        tableEnd(out);
    }

    out.line("const DETECTIE_T SG_DETECTIE_tabel[] = {");
    out.line("    /* detector, soort, lus, bezettijd, hiaattijd 1, hiaattijd 2 */");
    for (int i = 0; i < shape.detectors; ++i) {
        out.line(format("    %s, 1, 0, %s, %s, %s,", detectorName(i).c_str(),
                        tenths(occupancyTenths(i)).c_str(), tenths(gap1Tenths(i)).c_str(),
                        gap2IsNg(i) ? "NG" : tenths(gap2Tenths(i)).c_str()));
    }
    tableEnd(out);

    out.line("const TIJDEN_T TIJDEN_tabel[] = {");
    for (int i = 0; i < shape.timers; ++i) {
        out.line(format("    %s, %s,", timerName(i).c_str(), tenths(timerTenths(i)).c_str()));
    }
    tableEnd(out);

    out.line("const KLOKKEN_T KLOKKEN_tabel[] = {");
    for (int i = 0; i < shape.clocks; ++i) {
        int t1 = clock1Hundredths(i), t2 = clock2Hundredths(i);
        out.line(format("    %s, %d.%02d, %d.%02d,", clockName(i).c_str(), t1 / 100, t1 % 100, t2 / 100,
                        t2 % 100));
    }
    tableEnd(out);

    out.line("const SCHAKELAAR_T SCHAKELAAR_tabel[] = {");
    for (int i = 0; i < shape.switches; ++i) {
        out.line(format("    %s, %s,", switchName(i).c_str(), switchValueOf(i) ? "AAN" : "UIT"));
    }
    tableEnd(out);

    out.line("const EGGPARM_T EGGPARMS_tabel[] = {");
    for (int i = 0; i < shape.eggparms; ++i) {
        out.line(format("    %s, %d,", eggparmName(i).c_str(), eggparmValueOf(i)));
    }
    tableEnd(out);

    out.line("const EPARM_T EPARMS_tabel[] = {");
    constexpr int kPairsPerLine = 4;
    for (int i = 0; i < shape.eparms; i += kPairsPerLine) {
        std::string row = "   ";
        for (int j = i; j < i + kPairsPerLine && j < shape.eparms; ++j) {
            row += " " + eparmName(j) + ", " + tenths(eparmTenths(j)) + ",";
        }
        out.line(row);
    }
    tableEnd(out);
    out.close();
}

}  // namespace

std::string signalGroupName(int i) {
    return format("SG%02d", i + 1);
}
std::string detectorName(int i) {
    return format("SG%02dD%d", i % 80 + 1, i / 80 + 1);
}
std::string timerName(int i) {
    return format("T%03d", i + 1);
}
std::string clockName(int i) {
    return format("KL%03d", i + 1);
}
std::string switchName(int i) {
    return format("SCH%03d", i + 1);
}
std::string eparmName(int i) {
    return format("EP%04d", i + 1);
}
std::string eggparmName(int i) {
    return format("EGGP%04d", i + 1);
}

double vgTimeOf(int i) {
    return vgTenths(i) / 10.0;
}
double glTimeOf(int i) {
    return glTenths(i) / 10.0;
}
double mgTimeOf(int i) {
    return mgTenths(i) / 10.0;
}
double extraMgTimeOf(int i, int k) {
    return extraMgIsNg(i, k) ? -1.0 : extraMgTenths(i, k) / 10.0;
}
double gapTime1Of(int i) {
    return gap1Tenths(i) / 10.0;
}
double gapTime2Of(int i) {
    return gap2IsNg(i) ? -1.0 : gap2Tenths(i) / 10.0;
}
double occupancyTimeOf(int i) {
    return occupancyTenths(i) / 10.0;
}
double timerTimeOf(int i) {
    return timerTenths(i) / 10.0;
}
double clockTime1Of(int i) {
    return clock1Hundredths(i) / 100.0;
}
double clockTime2Of(int i) {
    return clock2Hundredths(i) / 100.0;
}
int switchValueOf(int i) {
    return i % 3 == 0 ? 1 : 0;
}
int eggparmValueOf(int i) {
    return i * 3 - 100;
}
double eparmValueOf(int i) {
    return eparmTenths(i) / 10.0;
}

void clearanceOf(int row, int signalGroups, int* from, int* to, double* time) {
    int others = signalGroups > 1 ? signalGroups - 1 : 1;
    *from = row / others % (signalGroups > 0 ? signalGroups : 1);
    int offset = row % others;
    *to = offset >= *from ? offset + 1 : offset;
    *time = clearanceTenths(row) / 10.0;
}

void writeApplication(const std::string& dir, const ApplicationShape& shape) {
    std::string prefix = dir.empty() || dir.back() == '/' || dir.back() == '\\' ? dir : dir + "/";
    writeHeader(prefix + "KVAPDEF.H", shape);
    writeTableSource(prefix + "KVAPTAB.C", shape);
}

void writeMaxApplication(const std::string& dir) {
    writeApplication(dir, kMaxApplication);
}

}  // namespace tavir::bench
