#include "output_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "file_search.h"

namespace tavir::cli {

bool outputsWritable(const std::vector<std::string>& paths, StderrReporter& reporter) {
    for (const std::string& path : paths) {
        if (path.empty()) continue;
        const std::string host = hostPath(path);
        std::error_code ignored;
        const bool existed = std::filesystem::exists(host, ignored);
        errno = 0;
        std::FILE* file = std::fopen(host.c_str(), "ab");
        if (file == nullptr) {
            reporter.say(path + ": cannot be written: " + std::strerror(errno) + "; nothing was sent");
            return false;
        }
        std::fclose(file);
        if (!existed) std::filesystem::remove(host, ignored);
    }
    return true;
}

}  // namespace tavir::cli
