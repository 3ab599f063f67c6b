#include "debugwin/window_list.h"

#include <cstring>

namespace tavir {

namespace {

// The file name and extension of a path: what follows its last directory or drive separator.
const char* fileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

}  // namespace

void composeWindowTitle(const char* baseTitle, const char* currentTitle, char (&title)[kTitleCapacity]) {
    if (currentTitle[0] == '\0') {
        std::snprintf(title, sizeof title, "%s", baseTitle);
        return;
    }
    const char* separator = std::strrchr(currentTitle, '\\');
    const char* fileName = separator != nullptr ? separator + 1 : currentTitle;
    std::snprintf(title, sizeof title, "%s - %s", baseTitle, fileName);
}

void windowListEntry(const char* title, std::FILE* listFile, char* entry) {
    std::snprintf(entry, kChildTitleCapacity, "%s", title);
    const char* name = fileNameOf(title);
    if (listFile == nullptr || name[0] == '\0') return;
    std::rewind(listFile);
    char line[kListFileLineCapacity];
    while (std::fgets(line, sizeof line, listFile) != nullptr) {
        if (std::strstr(line, name) == nullptr) continue;
        line[std::strcspn(line, "\n")] = '\0';
        std::snprintf(entry, kChildTitleCapacity, "%s", line);
        return;
    }
}

}  // namespace tavir
