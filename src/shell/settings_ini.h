#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "base/settings.h"
#include "resources/shell_texts.h"

namespace tavir {

// The text of a settings file, read and changed the way the Windows profile functions do it.
// Lines end in CR LF, LF or CR. "[name]" starts a section: the name runs to the line's last "]",
// blanks around it ignored. "name=value" is a key, blanks around name and value ignored; a line
// without "=" is a key without a value, and a ";" comment is a key whose name starts with ";", so
// it never matches. Section and key names match without regard to case, and only the first section
// of a name, and in it the first key of a name, count.
struct IniValue {
    bool found = false;  // the key exists and has an "="
    size_t begin = 0;    // the value, blanks around it excluded
    size_t end = 0;
};
IniValue findIniValue(std::string_view text, std::string_view section, std::string_view key);

// Sets the key in text. An existing key keeps its line, up to and including its "=", and only the
// value changes; a new key goes after the last line of its section; a new section goes at the end.
// Every other byte stays as it was. New lines end in CR LF; blanks before the value are dropped.
void setIniValue(std::string& text, std::string_view section, std::string_view key, std::string_view value);

// The value as the profile functions hand it out: a value in matching single or double quotes
// loses them. Cut to size - 1 characters; gives the number copied.
size_t copyIniValue(std::string_view value, char* buffer, size_t size);

// The integer of a value: blanks, one sign, then 0x (hexadecimal), 0o (octal), 0b (binary) or
// decimal digits up to the first other character, wrapping at 32 bits.
int32_t iniInteger(const char* text);

// The two readers of Settings, on a file's text.
size_t readIniString(std::string_view text, std::string_view section, const char* key,
                     const char* defaultValue, char* buffer, size_t size);
int32_t readIniInt(std::string_view text, std::string_view section, const char* key, int32_t defaultValue);

// Settings in a file of its own, for every platform: the portable twin of the Win32 profile calls.
// A bare file name is looked for in the current directory.
class IniFileSettings : public Settings {
public:
    explicit IniFileSettings(const char* path, const char* section = text::kSettingsSection);

    int32_t readInt(const char* key, int32_t defaultValue) override;
    size_t readString(const char* key, const char* defaultValue, char* buffer, size_t size) override;
    int writeString(const char* key, const char* value) override;

private:
    std::string path_;
    std::string section_;
};

}  // namespace tavir
