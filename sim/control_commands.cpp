#include "control_commands.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace tavir::sim {

const char kControlHelp[] =
    "Control commands (standard input and --control port), one per line:\n"
    "  set FC NUMBER BLOCK VALUE   store a value; a monitored address is sent at once\n"
    "  hold FC NUMBER BLOCK VALUE  store a value that Writes do not change (until a set)\n"
    "  get FC NUMBER BLOCK         print the value\n"
    "  send HEXBYTES               send raw bytes (e.g. a24547) to the connected client\n"
    "  pause | resume              stop | restart all answers\n"
    "  reset | close               end the connected client's link by reset | orderly close\n"
    "  quit                        end tavir-sim\n";

namespace {

bool parseInteger(const std::string& text, int32_t& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseAddress(const std::vector<std::string>& words, SimAddress& address) {
    return parseInteger(words[1], address.functionCode) && parseInteger(words[2], address.number) &&
           parseInteger(words[3], address.block) && address.functionCode >= 0 && address.functionCode < 512;
}

}  // namespace

bool parseHexBytes(const std::string& text, uint8_t* bytes, size_t capacity, size_t& count) {
    count = 0;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (high >= 0) return false;
            continue;
        }
        int digit = hexDigit(c);
        if (digit < 0) return false;
        if (high < 0) {
            high = digit;
            continue;
        }
        if (count >= capacity) return false;
        bytes[count++] = static_cast<uint8_t>(high * 16 + digit);
        high = -1;
    }
    return high < 0 && count > 0;
}

ControlResult runControlCommand(Simulator& simulator, const std::string& line, int64_t now) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    ControlResult result;
    if (line.size() > ControlLines::kMaxLine) {
        result.reply = "error: a line of more than " + std::to_string(ControlLines::kMaxLine) + " bytes";
        return result;
    }
    if (words.empty()) {
        result.reply = "error: an empty line";
        return result;
    }
    const std::string& command = words[0];
    if ((command == "set" || command == "hold") && words.size() == 5) {
        SimAddress address;
        int32_t value = 0;
        if (!parseAddress(words, address) || !parseInteger(words[4], value)) {
            result.reply = "error: " + command + " FC NUMBER BLOCK VALUE";
        } else {
            const bool stored =
                command == "set" ? simulator.set(address, value, now) : simulator.hold(address, value, now);
            result.reply = stored ? "ok" : "error: memory full";
        }
    } else if (command == "get" && words.size() == 4) {
        SimAddress address;
        result.reply = parseAddress(words, address) ? std::to_string(simulator.get(address))
                                                    : "error: get FC NUMBER BLOCK";
    } else if (command == "send" && words.size() >= 2) {
        uint8_t bytes[256];
        size_t count = 0;
        std::string hex = line.substr(line.find("send") + 4);
        if (!parseHexBytes(hex, bytes, sizeof bytes, count)) {
            result.reply = "error: send HEXBYTES";
        } else {
            int reached = simulator.sendRaw(bytes, count, now);
            result.reply = reached > 0 ? "ok" : "error: no client connected";
        }
    } else if (command == "pause" && words.size() == 1) {
        simulator.pause();
        result.reply = "ok";
    } else if (command == "resume" && words.size() == 1) {
        simulator.resume(now);
        result.reply = "ok";
    } else if ((command == "reset" || command == "close") && words.size() == 1) {
        // The same ends as --reset-after and --close-after, at a moment the caller chooses: a
        // test can wait until the debugger is connected before its link goes down.
        int ended = simulator.endLinks(command == "reset", now);
        result.reply = ended > 0 ? "ok" : "error: no client connected";
    } else if (command == "quit" && words.size() == 1) {
        result.reply = "ok";
        result.quit = true;
    } else {
        result.reply = "error: unknown command: " + line;
    }
    return result;
}

}  // namespace tavir::sim
