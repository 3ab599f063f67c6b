// Any bytes as the command-line text: the parser must stay inside its buffers and leave the link
// options in a state the transports can use.
#include <vector>

#include "fuzz_files.h"
#include "shell/command_line.h"

namespace {

using tavir::fuzz::check;

struct CountingBoxes : tavir::MessageBoxes {
    int count = 0;
    void show(const char* text, const char* caption, unsigned style) override {
        check(std::strlen(text) < 512 && std::strcmp(caption, "TAVIR") == 0 && style == tavir::kBoxOk);
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
    check(boxes.count <= tavir::kMaxArguments + 2);
    check(std::memchr(options.ipAddress, '\0', sizeof options.ipAddress) != nullptr);
    check(options.useSerial == 0 || options.useSerial == 1);
    if (options.useSerial == 1)
        check(options.comPort >= 1 && options.comPort <= 4 && knownBaudRate(options.baudRate));
    // The whole text was upper-cased, and only cut where it had spaces.
    for (size_t i = 0; i < length; ++i) check(!(text[i] >= 'a' && text[i] <= 'z'));
    for (size_t i = 0; i < length; ++i) check(text[i] != '\0' || data[i] == ' ');
    return 0;
}
