#include "tools/kind_file_name.h"

#include <cstring>

namespace tavir {

namespace {

constexpr size_t kPartLimit = 255;

std::string part(const char* from, size_t length) {
    return std::string(from, length < kPartLimit ? length : kPartLimit);
}

}  // namespace

std::string kindFileName(const char* chosenName, const char* suffix) {
    const char* rest = chosenName;
    size_t driveLength = 0;
    if (rest[0] != '\0' && rest[1] == ':') driveLength = 2;
    rest += driveLength;

    size_t directoryLength = 0;
    for (size_t i = 0; rest[i] != '\0'; ++i) {
        if (rest[i] == '\\' || rest[i] == '/') directoryLength = i + 1;
    }
    const char* file = rest + directoryLength;
    const char* dot = std::strrchr(file, '.');
    const size_t baseLength = dot != nullptr ? static_cast<size_t>(dot - file) : std::strlen(file);

    std::string name = part(chosenName, driveLength);
    name += part(rest, directoryLength);
    name += part(file, baseLength);
    name += suffix;
    if (dot != nullptr) name += part(dot, std::strlen(dot));
    return name;
}

}  // namespace tavir
