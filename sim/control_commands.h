#pragma once
#include <cstdint>
#include <string>

#include "simulator.h"

namespace tavir::sim {

// The line commands of standard input and of the control port, for tests and demos:
//   set FC NUMBER BLOCK VALUE   store a value (monitored addresses are sent)
//   hold FC NUMBER BLOCK VALUE  store a value that Writes leave alone until the next set
//   get FC NUMBER BLOCK         answer the value
//   send HEXBYTES               send raw bytes to every connected client, at once
//   pause / resume              stop and restart every answer
//   quit                        end the simulator
// Each line gets one answer line: "ok", the value, or "error: ..." (an empty line, a line too long
// and an unknown command too).
struct ControlResult {
    std::string reply;
    bool quit = false;
};

ControlResult runControlCommand(Simulator& simulator, const std::string& line, int64_t now);

// Up to 256 bytes from hex digits, optionally separated by blanks; false on an odd digit count,
// a non-hex character or too many bytes.
bool parseHexBytes(const std::string& text, uint8_t* bytes, size_t capacity, size_t& count);

// Cuts a byte stream into command lines ("\n" or "\r\n"). A line longer than kMaxLine is kept
// only up to kMaxLine + 1 bytes, so that a client sending no newline cannot grow it without
// bound; runControlCommand answers such a line with an error.
class ControlLines {
public:
    static constexpr size_t kMaxLine = 4096;
    // Appends bytes; each complete line is handed to take (without its line end).
    template <typename Take>
    void feed(const char* bytes, size_t count, Take&& take) {
        for (size_t i = 0; i < count; ++i) {
            char c = bytes[i];
            if (c == '\n') {
                if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
                take(partial_);
                partial_.clear();
            } else if (partial_.size() <= kMaxLine) {
                partial_.push_back(c);
            }
        }
    }

private:
    std::string partial_;
};

// One line of help per command, for --help.
extern const char kControlHelp[];

}  // namespace tavir::sim
