#pragma once
#include <string>

#include "base/settings.h"
#include "resources/shell_texts.h"

namespace tavir {

// Settings through the platform's private-profile calls. A bare file name is looked for in the
// Windows directory, as the platform does for every profile file without a directory.
class ProfileSettings : public Settings {
public:
    explicit ProfileSettings(const char* iniPath, const char* section = text::kSettingsSection);

    int32_t readInt(const char* key, int32_t defaultValue) override;
    size_t readString(const char* key, const char* defaultValue, char* buffer, size_t size) override;
    int writeString(const char* key, const char* value) override;

private:
    std::string path_;
    std::string section_;
};

}  // namespace tavir
