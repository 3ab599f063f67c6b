#include "definitions/text_stream.h"

#include <cstring>

namespace tavir {

namespace {

constexpr char kCtrlZ = 0x1A;

// Reads the next raw block and applies the text-mode rules in place. The raw bytes land one
// place to the right, so a CR held over from the previous block can still go in front.
void fillBlock(TextStream& stream) {
    stream.position = 0;
    stream.length = 0;
    if (stream.ended || !stream.file) return;
    char* raw = stream.block + 1;
    size_t rawLength = std::fread(raw, 1, kTextBlockSize, stream.file);
    char* out = stream.block;
    size_t written = 0;
    size_t r = 0;
    if (stream.carriageReturnPending) {
        stream.carriageReturnPending = false;
        if (rawLength == 0 || raw[0] != '\n') out[written++] = '\r';
    }
    if (rawLength == 0) {
        stream.ended = true;
        stream.length = written;
        return;
    }
    while (r < rawLength) {
        char c = raw[r];
        if (c == kCtrlZ) {
            stream.ended = true;
            break;
        }
        if (c == '\r') {
            if (r + 1 == rawLength) {
                stream.carriageReturnPending = true;
                ++r;
                continue;
            }
            if (raw[r + 1] == '\n') {
                ++r;
                continue;  // the LF that follows is written next
            }
        }
        out[written++] = c;
        ++r;
    }
    stream.length = written;
}

}  // namespace

std::FILE* openFileForPath(const char* path, const char* mode) {
#ifdef _WIN32
    return std::fopen(path, mode);
#else
    char native[1025];
    size_t length = std::strlen(path);
    if (length >= sizeof native) return nullptr;
    for (size_t i = 0; i <= length; ++i) native[i] = path[i] == '\\' ? '/' : path[i];
    return std::fopen(native, mode);
#endif
}

bool openTextStream(TextStream& stream, const char* path) {
    stream.file = openFileForPath(path, "rb");
    stream.position = 0;
    stream.length = 0;
    stream.carriageReturnPending = false;
    stream.ended = false;
    return stream.file != nullptr;
}

size_t readTextUntil(TextStream& stream, char* out, size_t maxChars, bool stopAtFF) {
    size_t stored = 0;
    while (stored < maxChars) {
        if (stream.position == stream.length) {
            // A block can come out empty (a lone CR held over) without the text having ended.
            do {
                fillBlock(stream);
            } while (stream.length == 0 && !stream.ended);
            if (stream.length == 0) break;
        }
        const char* from = stream.block + stream.position;
        size_t available = stream.length - stream.position;
        size_t want = maxChars - stored;
        if (available > want) available = want;
        size_t take = available;
        bool done = false;
        if (stopAtFF) {
            for (size_t i = 0; i < available; ++i) {
                if (from[i] == '\n' || static_cast<unsigned char>(from[i]) == 0xFF) {
                    take = i + 1;
                    done = true;
                    break;
                }
            }
        } else if (const void* newline = std::memchr(from, '\n', available)) {
            take = static_cast<size_t>(static_cast<const char*>(newline) - from) + 1;
            done = true;
        }
        std::memcpy(out + stored, from, take);
        stored += take;
        stream.position += take;
        if (done) break;
    }
    out[stored] = '\0';
    return stored;
}

void rewindTextStream(TextStream& stream) {
    if (!stream.file) return;
    std::fseek(stream.file, 0, SEEK_SET);
    std::clearerr(stream.file);
    stream.position = 0;
    stream.length = 0;
    stream.carriageReturnPending = false;
    stream.ended = false;
}

void closeTextStream(TextStream& stream) {
    if (stream.file) std::fclose(stream.file);
    stream.file = nullptr;
    stream.position = 0;
    stream.length = 0;
}

}  // namespace tavir
