#include "definitions/define_line.h"

#include <cstring>

namespace tavir {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Printable and not a blank, in the "C" locale: '!' to '~'.
bool isNameCharacter(char c) {
    return c > ' ' && c < 127;
}

}  // namespace

bool splitDefineLine(char* line, char** name, char** valueText) {
    if (std::strncmp(line, "#define", 7) != 0) return false;
    char* p = line + 7;
    if (!isBlank(*p)) return false;
    while (isBlank(*p)) ++p;
    char* nameBegin = p;
    while (isNameCharacter(*p)) ++p;
    char* nameEnd = p;
    if (nameEnd == nameBegin || !isBlank(*p)) return false;
    while (isBlank(*p)) ++p;
    char* valueBegin = p;
    while (isNameCharacter(*p)) ++p;
    if (p == valueBegin) return false;
    *p = '\0';
    *nameEnd = '\0';
    *name = nameBegin;
    *valueText = valueBegin;
    return true;
}

}  // namespace tavir
