#include "shell/window_title.h"

#include <cstdio>

#include "resources/shell_texts.h"

namespace tavir {

void formatBaseTitle(int number, char (&title)[kTitleCapacity]) {
    std::snprintf(title, sizeof title, text::kBaseTitleFormat, number);
}

void formatOpenFileTitle(int number, char (&title)[kTitleCapacity]) {
    std::snprintf(title, sizeof title, text::kOpenFileTitleFormat, number);
}
}  // namespace tavir
