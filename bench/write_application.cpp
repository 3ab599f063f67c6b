// Writes the largest application the tables hold into a directory, for the benchmark scripts
// that run TAVIR.EXE and tavir-sim on it. Run: write_application DIR
#include <cstdio>
#include <exception>

#include "app_generator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_application DIR\n");
        return 2;
    }
    try {
        tavir::bench::writeMaxApplication(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
