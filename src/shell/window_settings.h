#pragma once
#include <cstdint>

#include "base/settings.h"

namespace tavir {

// The smallest size the debugger window is opened with or stored at. Compared unsigned, so a
// negative number counts as large and is kept.
constexpr uint32_t kMinimumWindowWidth = 125;
constexpr uint32_t kMinimumWindowHeight = 100;

constexpr int kFontNameCapacity = 19;  // characters of a stored face name that are read

struct WindowPlacement {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 500;
    int32_t height = 400;
};

struct FontSettings {
    char faceName[kFontNameCapacity + 1] = "use default";
    int32_t pointSize = 10;
    int32_t width = 0;
    // False when the face name is exactly "use default": the built-in font stays and the size
    // and width are not used.
    bool useStoredFont = false;
};

// Place and size of the debugger window at creation, with the minimum size applied.
WindowPlacement readWindowPlacement(Settings& settings);

// Stores the window rectangle after a move or size, raised to the minimum size, in the order
// "X-positie", "Y-positie", "Breedte", "Hoogte".
void writeWindowRectangle(Settings& settings, int32_t left, int32_t top, int32_t width, int32_t height);

FontSettings readFontSettings(Settings& settings);

// Stores the font the user chose, in the order "Fontnaam", "Fontpuntgrootte", "Fontbreedte".
void writeFontSettings(Settings& settings, const char* faceName, int32_t pointSize, int32_t width);

}  // namespace tavir
