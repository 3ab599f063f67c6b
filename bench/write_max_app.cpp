// write_max_app DIR: the maximum-size application (every table at its capacity) into DIR, for the
// benchmarks that run programs against it.
#include <cstdio>
#include <exception>

#include "app_generator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_max_app DIR\n");
        return 2;
    }
    try {
        tavir::bench::writeMaxApplication(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
