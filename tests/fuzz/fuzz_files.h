#pragma once
// What the file-reading fuzz targets share: a failed check ends the run, and a scratch folder
// (memory-backed when the machine has /dev/shm) that holds the KVAPDEF.H and KVAPTAB.C written
// for each input and is removed when the target ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

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

struct ScratchFolder {
    std::string dir;
    explicit ScratchFolder(const char* name) {
        std::string pattern =
            std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/" + name + "-XXXXXX";
        check(mkdtemp(&pattern[0]) != nullptr);
        dir = pattern;
    }
    ~ScratchFolder() {
        std::remove((dir + "/KVAPDEF.H").c_str());
        std::remove((dir + "/KVAPTAB.C").c_str());
        rmdir(dir.c_str());
    }
    std::string header() const { return dir + "/KVAPDEF.H"; }
    std::string tableSource() const { return dir + "/KVAPTAB.C"; }
};

}  // namespace tavir::fuzz
