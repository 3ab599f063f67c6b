#pragma once

namespace tavir {

constexpr int kSettingsPathCapacity = 512;  // characters; the terminator comes on top

// The settings file's path for a directory: the directory, a "\" unless it is empty or already ends
// in "\" or "/", and "tavir.ini". When the directory and the name reach 512 characters together the
// bare name is used, which each platform resolves in its own default place.
void SettingsPath(const char* directory, char (&iniPath)[kSettingsPathCapacity + 1]);

}  // namespace tavir
