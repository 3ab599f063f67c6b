#pragma once
// An output file written as Windows writes a file opened in text mode, on every platform: each
// "\n" is stored as CR LF, every other byte as it is. The files of the tools are then the same
// bytes whether TAVIR.EXE or tavir-cli on Linux writes them.
#include <cstdint>
#include <cstdio>

namespace tavir {

enum class FileMode { kTruncate, kAppend };

// What a caller that must know learns of a file's writes: tavir-cli keeps every line of a run
// that is killed, and reports a full disk. The dialogs watch nothing.
struct OutputWatch {
    bool lineByLine = false;  // each line goes to the system as its "\n" is written
    bool failed = false;      // a write, a flush or the close failed; stays set
};

class TextOutputFile {
public:
    TextOutputFile() = default;
    ~TextOutputFile() { close(); }
    TextOutputFile(const TextOutputFile&) = delete;
    TextOutputFile& operator=(const TextOutputFile&) = delete;

    // Closes a file still open first. False when the file cannot be opened; on POSIX a "\" in the
    // path separates directories, as the program builds its paths with "\".
    bool open(const char* path, FileMode mode);
    bool isOpen() const { return file_ != nullptr; }
    void close();

    // Nothing happens while no file is open.
    void write(const char* text);
    void writeByte(uint8_t byte);
    // Hands what was written to the system, so the file holds it while it stays open.
    void flush();
    // From now on, for this file and the next ones opened through this object.
    void watch(OutputWatch* watch) { watch_ = watch; }

private:
    void check(bool ok) {
        if (!ok && watch_ != nullptr) watch_->failed = true;
    }
    std::FILE* file_ = nullptr;
    OutputWatch* watch_ = nullptr;
};

}  // namespace tavir
