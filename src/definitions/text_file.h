#pragma once
// The line reader of the text-file parsers (application header, debug window files). While a
// file is open, the message window's file and line prefixes name it and the line just read, so
// that every message of the parser points at its place.
#include "base/message_log.h"
#include "definitions/text_stream.h"

namespace tavir {

constexpr int kTextLineCapacity = 256;  // readLine's buffer: 255 characters and the NUL

struct TextFile {
    MessageLog* log;
    TextStream stream;
};

// Sets the file prefix to path and empties the line prefix, then opens the file. Gives none
// after reporting "Dit bestand kon niet worden geopend." (and emptying the file prefix) when the
// file cannot be opened, or "Niet voldoende geheugen ..." when there is no memory for it.
TextFile* openTextFile(MessageLog& log, const char* path);

// Reads one line into buffer (kTextLineCapacity characters): characters until a newline or a
// byte 0xFF has been stored or 255 have been read; the newline stays. Advances the line prefix
// by one. Gives the number of characters when the line ended with a newline, -1 otherwise: at
// the end of the file (a last line without a newline included), after a byte 0xFF, and for a line
// of 255 characters or more. Callers stop at the first result that is not positive.
int readLine(TextFile* file, char* buffer);

// Empties the line and file prefixes, closes the file and frees it. Accepts none.
void closeTextFile(TextFile* file);

// Plain lines for the passes that scan a file several times and report nothing: each read
// gives what fgets with a buffer of 400 gives (up to 399 characters, through the newline).
constexpr int kPlainLineCapacity = 400;

struct PlainTextFile {
    TextStream stream;
};

// Gives none when the file cannot be opened or there is no memory for it.
PlainTextFile* openPlainTextFile(const char* path);
// Gives false at the end of the file, with nothing read.
bool readPlainLine(PlainTextFile* file, char* buffer);
void rewindPlainTextFile(PlainTextFile* file);
void closePlainTextFile(PlainTextFile* file);

}  // namespace tavir
