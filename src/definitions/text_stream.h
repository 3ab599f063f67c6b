#pragma once
// Reading a file as Windows reads a file opened as text, on every platform: the file is opened
// in binary and the text-mode rules are applied here, so a definition file reads the same under
// Linux and Windows. A CR directly followed by LF becomes the LF; a CR on its own stays a
// character of its line; a Ctrl-Z byte (0x1A) ends the file.
#include <cstddef>
#include <cstdio>

namespace tavir {

constexpr size_t kTextBlockSize = 65536;

struct TextStream {
    std::FILE* file;
    size_t position;             // next character in block
    size_t length;               // characters in block after the text-mode rules
    bool carriageReturnPending;  // the previous block ended in a CR whose successor is unknown
    bool ended;                  // end of file or Ctrl-Z seen: no block follows
    char block[kTextBlockSize + 1];
};

// Opens path for reading; on POSIX a "\" in the path separates directories as "/" does, since
// the program builds its paths with "\". Gives false when the file cannot be opened.
bool openTextStream(TextStream& stream, const char* path);

// Reads characters into out until a newline has been stored, (stopAtFF) a byte 0xFF has been
// stored, maxChars characters have been stored, or the text ends; out ends with a NUL. Gives the
// number of characters stored.
size_t readTextUntil(TextStream& stream, char* out, size_t maxChars, bool stopAtFF);

// Back to the first character of the file.
void rewindTextStream(TextStream& stream);

void closeTextStream(TextStream& stream);

// fopen(path, mode) with the path rule above.
std::FILE* openFileForPath(const char* path, const char* mode);

}  // namespace tavir
