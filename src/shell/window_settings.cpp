#include "shell/window_settings.h"

#include <cstring>

#include "resources/shell_texts.h"

namespace tavir {

namespace {

int32_t atLeast(int32_t value, uint32_t minimum) {
    return static_cast<uint32_t>(value) < minimum ? static_cast<int32_t>(minimum) : value;
}

}  // namespace

WindowPlacement readWindowPlacement(Settings& settings) {
    const WindowPlacement defaults;
    WindowPlacement placement;
    placement.left = settings.readInt(text::kKeyXPositie, defaults.left);
    placement.top = settings.readInt(text::kKeyYPositie, defaults.top);
    placement.width = atLeast(settings.readInt(text::kKeyBreedte, defaults.width), kMinimumWindowWidth);
    placement.height = atLeast(settings.readInt(text::kKeyHoogte, defaults.height), kMinimumWindowHeight);
    return placement;
}

void writeWindowRectangle(Settings& settings, int32_t left, int32_t top, int32_t width, int32_t height) {
    settings.writeInt(text::kKeyXPositie, left);
    settings.writeInt(text::kKeyYPositie, top);
    settings.writeInt(text::kKeyBreedte, atLeast(width, kMinimumWindowWidth));
    settings.writeInt(text::kKeyHoogte, atLeast(height, kMinimumWindowHeight));
}

FontSettings readFontSettings(Settings& settings) {
    const FontSettings defaults;
    FontSettings font;
    settings.readString(text::kKeyFontnaam, text::kFontNameUseDefault, font.faceName, sizeof font.faceName);
    font.pointSize = settings.readInt(text::kKeyFontpuntgrootte, defaults.pointSize);
    font.width = settings.readInt(text::kKeyFontbreedte, defaults.width);
    font.useStoredFont = std::strcmp(font.faceName, text::kFontNameUseDefault) != 0;
    return font;
}

void writeFontSettings(Settings& settings, const char* faceName, int32_t pointSize, int32_t width) {
    settings.writeString(text::kKeyFontnaam, faceName);
    settings.writeInt(text::kKeyFontpuntgrootte, pointSize);
    settings.writeInt(text::kKeyFontbreedte, width);
}

}  // namespace tavir
