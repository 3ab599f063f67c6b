#pragma once
// What the file-reading fuzz targets share: a failed check ends the run, and the tests' scratch
// folder (memory-backed when the machine has /dev/shm) for the files written for each input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../unit/scratch_folder.h"

namespace tavir::fuzz {

inline void check(bool condition) {
    if (!condition) std::abort();
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    check(file != nullptr);
    if (size) check(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
}

inline std::filesystem::path fastTemp() {
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
}

}  // namespace tavir::fuzz
