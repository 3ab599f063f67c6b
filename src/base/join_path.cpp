#include "base/join_path.h"

#include <cstring>

namespace tavir {

namespace {
thread_local char joined[kPathCapacity + 1];
}

const char* JoinPath(const char* dir, const char* name) {
    size_t dirLength = std::strlen(dir);
    size_t nameLength = std::strlen(name);
    if (dirLength + nameLength >= kPathCapacity) return nullptr;
    std::memcpy(joined, dir, dirLength);
    size_t at = dirLength;
    if (dirLength > 0 && dir[dirLength - 1] != '\\' && dir[dirLength - 1] != '/') joined[at++] = '\\';
    std::memcpy(joined + at, name, nameLength + 1);
    return joined;
}

std::string withHostSeparator(const std::string& dir) {
#ifdef _WIN32
    constexpr char kHostSeparator = '\\';
#else
    constexpr char kHostSeparator = '/';
#endif
    if (dir.empty() || dir.back() == '/' || dir.back() == '\\') return dir;
    return dir + kHostSeparator;
}

}  // namespace tavir
