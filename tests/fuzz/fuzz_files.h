#pragma once
// What the fuzz targets share: a failed check ends the run; the tests' scratch folder (memory-backed
// when the machine has /dev/shm) for the files written for each input; the built-in macros; a
// message log that checks every line it is handed; and one frame decoded on its own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "../unit/scratch_folder.h"
#include "base/message_log.h"
#include "definitions/builtin_macros.h"
#include "link/frame_decoder.h"

namespace tavir::fuzz {

inline void check(bool condition) {
    if (!condition) std::abort();
}

struct Scratch : testing::ScratchFolder {
    explicit Scratch(const char* name)
        : ScratchFolder(
              name, access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path()) {}
    std::string write(const std::string& name, const uint8_t* data, size_t size) const {
        return ScratchFolder::write(name, std::string(reinterpret_cast<const char*>(data), size));
    }
};

inline std::unique_ptr<MacroTable> builtInMacros() {
    auto macros = std::make_unique<MacroTable>();
    MessageLog log;
    clearMacroTable(*macros);
    check(loadBuiltInMacros(*macros, log) == 0);
    return macros;
}

// A message log whose lines are counted, each checked to fit its buffer.
struct CountedLog : MessageSink {
    int count = 0;
    MessageLog log;
    CountedLog() { log.sink = this; }
    int addLine(const char* text) override {
        check(std::strlen(text) < kMessageLineCapacity);
        return count++;
    }
};

// What a fresh decoder makes of the bytes of one frame: exactly one record.
struct Decoded : ValueDelivery {
    int count = 0;
    uint8_t kind = 0;
    ValueRecord record{};
    void deliver(uint8_t k, const ValueRecord& r) override {
        ++count;
        kind = k;
        record = r;
    }
};
inline Decoded decodeFrame(const uint8_t* bytes, size_t length) {
    Decoded decoded;
    FrameDecoder decoder;
    decoder.delivery = &decoded;
    int completed = 0;
    for (size_t i = 0; i < length; ++i) completed += decoder.FeedByte(bytes[i]);
    check(completed == 1 && decoded.count == 1);
    return decoded;
}

}  // namespace tavir::fuzz
