#include "tools/text_output_file.h"

#include "definitions/text_stream.h"

namespace tavir {

bool TextOutputFile::open(const char* path, FileMode mode) {
    close();
    file_ = openFileForPath(path, mode == FileMode::kAppend ? "ab" : "wb");
    return file_ != nullptr;
}

void TextOutputFile::close() {
    if (file_ != nullptr) check(std::fclose(file_) == 0);
    file_ = nullptr;
}

void TextOutputFile::write(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) writeByte(static_cast<uint8_t>(*p));
}

void TextOutputFile::writeByte(uint8_t byte) {
    if (file_ == nullptr) return;
    if (byte == '\n') check(std::fputc('\r', file_) != EOF);
    check(std::fputc(byte, file_) != EOF);
    if (byte == '\n' && watch_ != nullptr && watch_->lineByLine) check(std::fflush(file_) == 0);
}

void TextOutputFile::flush() {
    if (file_ != nullptr) check(std::fflush(file_) == 0);
}

}  // namespace tavir
