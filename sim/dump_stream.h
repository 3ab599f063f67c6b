#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "controller_memory.h"

namespace tavir::sim {

// The memory dump exchange of one link: M prepares a text picture of the memory, O streams it
// paced in chunks and closes it with the end marker 0xFF 0x0A, A stops a running stream.
struct DumpStream {
    static constexpr size_t kChunkBytes = 64;
    static constexpr int64_t kChunkMicros = 10000;  // about 6 kB/s, slow enough to abort

    std::string prepared;  // the text of the last M, without the end marker
    bool hasDump = false;
    std::string streaming;  // what O is sending, with the end marker
    size_t position = 0;
    bool active = false;
    int64_t nextChunk = 0;
};

// The dump text: a header line with the controller's date and time and the number of values, a
// column line, then one line per stored value in address order.
std::string buildDumpText(const ControllerMemory& memory, int32_t datum, int32_t tijd);

}  // namespace tavir::sim
