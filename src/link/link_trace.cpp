#include "link/link_trace.h"

#include <string>

namespace tavir {

LinkTrace::~LinkTrace() {
    if (file_ != nullptr) std::fclose(file_);
}

bool LinkTrace::open(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ != nullptr) std::fclose(file_);
    // Binary: the line ends are LF on every platform.
    file_ = std::fopen(path, "wb");
    if (file_ == nullptr) return false;
    opened_ = std::chrono::steady_clock::now();
    std::fputs("# tavir trace 1\n", file_);
    std::fflush(file_);
    return true;
}

void LinkTrace::record(char direction, const uint8_t* bytes, size_t count) {
    if (count == 0) return;
    static const char kHex[] = "0123456789ABCDEF";
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_ == nullptr) return;
    const auto elapsed = std::chrono::steady_clock::now() - opened_;
    const long long us = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%lld.%06lld %c", us / 1000000, us % 1000000, direction);
    std::string line = stamp;
    line.reserve(line.size() + count * 3 + 1);
    for (size_t i = 0; i < count; ++i) {
        line += ' ';
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0x0F];
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace tavir
