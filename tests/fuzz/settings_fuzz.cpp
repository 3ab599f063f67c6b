// Any bytes as a settings file: read the debugger window's keys, write one, and check that it reads
// back as written while every other key keeps its value.
#include "fuzz_files.h"
#include "shell/settings_ini.h"

namespace {

using tavir::fuzz::check;

struct Reading {
    char text[32];
    int32_t number;
};

constexpr const char* kKeys[] = {"X-positie",   "Y-positie",         "Hoogte", "Fontnaam", "Fontpuntgrootte",
                                 "Fontbreedte", "VERSCHILLEN Speed", "",       "=",        "["};
constexpr const char* kSections[] = {"Hoofdvenster", "Anders"};
constexpr size_t kReadings = sizeof kKeys / sizeof kKeys[0] * 2;

void readAll(const std::string& text, Reading (&readings)[kReadings]) {
    size_t at = 0;
    for (const char* section : kSections) {
        for (const char* key : kKeys) {
            Reading& reading = readings[at++];
            std::memset(reading.text, '#', sizeof reading.text);
            size_t count =
                tavir::readIniString(text, section, key, "none  ", reading.text, sizeof reading.text);
            check(count < sizeof reading.text && reading.text[count] == '\0');
            reading.number = tavir::readIniInt(text, section, key, -7);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Reading before[kReadings];
    readAll(text, before);

    int32_t value = 0;
    if (size >= 4) std::memcpy(&value, data, 4);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    tavir::setIniValue(text, "Hoofdvenster", "Breedte", digits);

    check(tavir::readIniInt(text, "Hoofdvenster", "Breedte", 0) == value);
    char back[16];
    tavir::readIniString(text, "hoofdVENSTER", "BREEDTE", "", back, sizeof back);
    check(std::strcmp(back, digits) == 0);

    Reading after[kReadings];
    readAll(text, after);
    for (size_t i = 0; i < kReadings; ++i)
        check(std::strcmp(before[i].text, after[i].text) == 0 && before[i].number == after[i].number);

    // Writing the same value again changes nothing.
    std::string again = text;
    tavir::setIniValue(again, "Hoofdvenster", "Breedte", digits);
    check(again == text);
    return 0;
}
