#pragma once

namespace tavir {

constexpr int kPathCapacity = 1024;

// dir and name joined with "\" (none when dir is empty or already ends in "\" or "/").
// Gives nullptr when strlen(dir) + strlen(name) reaches 1024. The result lives in one shared
// buffer that the next call overwrites, so the caller copies what it keeps.
const char* JoinPath(const char* dir, const char* name);

}  // namespace tavir
