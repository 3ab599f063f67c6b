// tavir-cli check of the largest application the tables hold with 50 debug window files of 100
// items each: prints the median time of the whole check (the figure the CLI promises: under
// 200 ms). Run: build/native/bench/check_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app_generator.h"
#include "check_command.h"

namespace {

constexpr int kWindows = 50;
constexpr int kRuns = 7;

// 20 rows of five labelled items, each item a different kind of value of the application.
void writeWindow(const std::string& path, int window) {
    std::ofstream out(path, std::ios::binary);
    for (int row = 0; row < 24; ++row) {
        if (row < 20) {
            for (int i = 0; i < 5; ++i)
                out << "W" << window << "R" << row << " ~~~~~~" << (row * 5 + i) / 10 << (row * 5 + i) % 10
                    << "  ";
        }
        out << "\r\n";
    }
    // Item 00 shows datum; the others four kinds of value, each of another object.
    out << "00 datum\r\n";
    const char* kinds[] = {"R", "inst_MG_TIJD", "VG_TIJD", "D"};
    for (int n = 1; n < 100; ++n) {
        std::string object =
            n % 4 == 3 ? tavir::bench::detectorName(n) : tavir::bench::signalGroupName(n / 4);
        out << n / 10 << n % 10 << " " << kinds[n % 4] << " " << object << "\r\n";
    }
}

}  // namespace

int main() {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "tavir-check-bench";
    std::filesystem::create_directories(dir);
    tavir::bench::writeMaxApplication(dir.string());
    for (int w = 0; w < kWindows; ++w) {
        char name[32];
        std::snprintf(name, sizeof name, "DEBUG_%03d.TXT", w);
        writeWindow((dir / name).string(), w);
    }
    tavir::cli::CheckRequest request;
    request.dir = dir.string();
    std::vector<double> millis;
    tavir::cli::CheckResult result;
    for (int run = 0; run < kRuns; ++run) {
        std::FILE* out = std::tmpfile();
        auto start = std::chrono::steady_clock::now();
        result = tavir::cli::checkApplication(request, out);
        millis.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        std::fclose(out);
    }
    std::sort(millis.begin(), millis.end());
    std::printf(
        "check of the maximum-size application with %d debug window files (%d read, %d problem lines): "
        "median %.1f ms, fastest %.1f ms, slowest %.1f ms of %d runs (limit 200 ms)\n",
        kWindows, result.windowsLoaded, result.problemLines, millis[kRuns / 2], millis.front(), millis.back(),
        kRuns);
    if (!std::getenv("TAVIR_KEEP")) std::filesystem::remove_all(dir);
    return millis[kRuns / 2] < 200.0 ? 0 : 1;
}
