#include "definitions/text_file.h"

#include <new>

#include "resources/definitions_texts.h"

namespace tavir {

TextFile* openTextFile(MessageLog& log, const char* path) {
    SetMessageFile(log, path);
    SetMessageLine(log, 0);
    TextFile* file = new (std::nothrow) TextFile;
    if (!file) {
        ReportMessage(log, kError, text::kFileOutOfMemory);
        SetMessageFile(log, nullptr);
        return nullptr;
    }
    file->log = &log;
    if (!openTextStream(file->stream, path)) {
        ReportMessage(log, kError, text::kFileCannotBeOpened);
        SetMessageFile(log, nullptr);
        delete file;
        return nullptr;
    }
    return file;
}

int readLine(TextFile* file, char* buffer) {
    SetMessageLine(*file->log, -1);
    size_t count = readTextUntil(file->stream, buffer, kTextLineCapacity - 1, true);
    if (count == 0 || buffer[count - 1] != '\n') return -1;
    return static_cast<int>(count);
}

void closeTextFile(TextFile* file) {
    if (!file) return;
    SetMessageLine(*file->log, 0);
    SetMessageFile(*file->log, nullptr);
    closeTextStream(file->stream);
    delete file;
}

PlainTextFile* openPlainTextFile(const char* path) {
    PlainTextFile* file = new (std::nothrow) PlainTextFile;
    if (!file) return nullptr;
    if (!openTextStream(file->stream, path)) {
        delete file;
        return nullptr;
    }
    return file;
}

bool readPlainLine(PlainTextFile* file, char* buffer) {
    return readTextUntil(file->stream, buffer, kPlainLineCapacity - 1, false) > 0;
}

void rewindPlainTextFile(PlainTextFile* file) {
    rewindTextStream(file->stream);
}

void closePlainTextFile(PlainTextFile* file) {
    if (!file) return;
    closeTextStream(file->stream);
    delete file;
}

}  // namespace tavir
