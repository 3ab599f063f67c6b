// Any bytes as the command-line text: the parser must stay inside its buffers and leave the link
// options in a state the transports can use.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "shell/command_line.h"

namespace {

struct CountingBoxes : tavir::MessageBoxes {
    int count = 0;
    void show(const char* text, const char* caption, unsigned style) override {
        if (std::strlen(text) >= 512 || std::strcmp(caption, "TAVIR") != 0 || style != tavir::kBoxOk)
            __builtin_trap();
        ++count;
    }
};

bool knownBaudRate(int32_t baudRate) {
    for (int32_t known :
         {110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000}) {
        if (baudRate == known) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const size_t length = std::strlen(text.data());

    tavir::LinkOptions options;
    CountingBoxes boxes;
    tavir::ParseCommandLine(text.data(), options, boxes);

    // At most one message per argument and the two checks at the end.
    if (boxes.count > tavir::kMaxArguments + 2) __builtin_trap();
    if (std::memchr(options.ipAddress, '\0', sizeof options.ipAddress) == nullptr) __builtin_trap();
    if (options.useSerial != 0 && options.useSerial != 1) __builtin_trap();
    if (options.useSerial == 1 &&
        (options.comPort < 1 || options.comPort > 4 || !knownBaudRate(options.baudRate))) {
        __builtin_trap();
    }
    // The whole text was upper-cased, and only cut where it had spaces.
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') __builtin_trap();
        if (c == '\0' && data[i] != ' ') __builtin_trap();
    }
    return 0;
}
