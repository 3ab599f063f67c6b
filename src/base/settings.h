#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace tavir {

// One section of the settings file. Every call reads or writes the file itself: values are written
// the moment they change and nothing is cached, so a second reader of the same file (a batch tool,
// another debugger) sees them at once. Results of writes are given but the program does not act on
// them: a file that cannot be written keeps its old values. Keys and values are never null.
class Settings {
public:
    virtual ~Settings() = default;

    // The key's value as an integer (decimal, or 0x hexadecimal, with a sign; text after the
    // digits is ignored, text without digits gives 0), or defaultValue when the file, the section
    // or the key is missing or the value is empty.
    virtual int32_t readInt(const char* key, int32_t defaultValue) = 0;

    // Copies the key's value, or defaultValue without its trailing blanks when the key is missing,
    // into buffer, cut to size - 1 characters. Gives the number of characters copied.
    virtual size_t readString(const char* key, const char* defaultValue, char* buffer, size_t size) = 0;

    // Sets the key to value, creating the file, the section and the key as needed. 0 or -1.
    virtual int writeString(const char* key, const char* value) = 0;

    // Writes value as decimal text.
    int writeInt(const char* key, int32_t value) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
        return writeString(key, digits);
    }
};

}  // namespace tavir
