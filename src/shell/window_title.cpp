#include "shell/window_title.h"

#include <cstdio>
#include <cstring>

#include "resources/shell_texts.h"

namespace tavir {

void formatBaseTitle(int number, char (&title)[kTitleCapacity]) {
    std::snprintf(title, sizeof title, text::kBaseTitleFormat, number);
}

void formatOpenFileTitle(int number, char (&title)[kTitleCapacity]) {
    std::snprintf(title, sizeof title, text::kOpenFileTitleFormat, number);
}

void composeWindowTitle(const char* baseTitle, const char* currentTitle, char (&title)[kTitleCapacity]) {
    if (currentTitle[0] == '\0') {
        std::snprintf(title, sizeof title, "%s", baseTitle);
        return;
    }
    const char* separator = std::strrchr(currentTitle, '\\');
    const char* fileName = separator != nullptr ? separator + 1 : currentTitle;
    std::snprintf(title, sizeof title, "%s - %s", baseTitle, fileName);
}

}  // namespace tavir
