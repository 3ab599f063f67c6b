#include "shell/settings_path.h"

#include <cstring>

#include "base/join_path.h"
#include "resources/shell_texts.h"

namespace tavir {

void SettingsPath(const char* directory, char (&iniPath)[kSettingsPathCapacity + 1]) {
    const char* name = text::kSettingsFileName;
    const char* joined = nullptr;
    if (std::strlen(directory) + std::strlen(name) < kSettingsPathCapacity)
        joined = JoinPath(directory, name);
    if (joined == nullptr) joined = name;
    // Below 512 the separator makes at most 512 characters, which the buffer holds.
    size_t length = std::strlen(joined);
    if (length > kSettingsPathCapacity) length = kSettingsPathCapacity;
    std::memcpy(iniPath, joined, length);
    iniPath[length] = '\0';
}

}  // namespace tavir
