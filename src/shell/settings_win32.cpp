#include "shell/settings_win32.h"

#include <windows.h>

#include <climits>

namespace tavir {

ProfileSettings::ProfileSettings(const char* iniPath, const char* section)
    : path_(iniPath), section_(section) {}

int32_t ProfileSettings::readInt(const char* key, int32_t defaultValue) {
    // The platform hands the integer out unsigned; negative values come back as they were stored.
    return static_cast<int32_t>(GetPrivateProfileIntA(section_.c_str(), key, defaultValue, path_.c_str()));
}

size_t ProfileSettings::readString(const char* key, const char* defaultValue, char* buffer, size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    DWORD capacity = size > UINT_MAX ? UINT_MAX : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section_.c_str(), key, defaultValue != nullptr ? defaultValue : "",
                                    buffer, capacity, path_.c_str());
}

int ProfileSettings::writeString(const char* key, const char* value) {
    // A null key or value would delete the section or the key; the program never deletes either.
    if (key == nullptr) return -1;
    BOOL written =
        WritePrivateProfileStringA(section_.c_str(), key, value != nullptr ? value : "", path_.c_str());
    return written ? 0 : -1;
}

}  // namespace tavir
