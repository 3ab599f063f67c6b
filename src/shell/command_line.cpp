#include "shell/command_line.h"

#include <cstdio>
#include <cstring>

#include "base/parse_decimal.h"
#include "resources/shell_texts.h"

namespace tavir {

namespace {

enum class Action {
    kOpenDpcom,
    kOpenAfname,
    kOpenParameters,
    kOpenVerschillen,
    kSelectComPort,
    // The actions below take the next argument as their value.
    kComPortValue,
    kBaudRateValue,
    kIpAddressValue,
    kIpPortValue,
};

struct Keyword {
    const char* text;
    Action action;
    int32_t comPort;  // for kSelectComPort
};

// Compared in this order; the first exact match decides.
constexpr Keyword kKeywords[] = {
    {text::kArgDpcom, Action::kOpenDpcom, 0},
    {text::kArgAfname, Action::kOpenAfname, 0},
    {text::kArgParameters, Action::kOpenParameters, 0},
    {text::kArgVerschillen, Action::kOpenVerschillen, 0},
    {text::kArgCom1, Action::kSelectComPort, 1},
    {text::kArgCom2, Action::kSelectComPort, 2},
    {text::kArgCom3, Action::kSelectComPort, 3},
    {text::kArgCom4, Action::kSelectComPort, 4},
    {text::kArgComPort, Action::kComPortValue, 0},
    {text::kArgBaudRate, Action::kBaudRateValue, 0},
    {text::kArgDpcomShort, Action::kOpenDpcom, 0},
    {text::kArgAfnameShort, Action::kOpenAfname, 0},
    {text::kArgParametersShort, Action::kOpenParameters, 0},
    {text::kArgVerschillenShort, Action::kOpenVerschillen, 0},
    {text::kArgIpAddress, Action::kIpAddressValue, 0},
    {text::kArgIpPort, Action::kIpPortValue, 0},
};

constexpr int32_t kBaudRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                  19200, 38400, 56000, 57600, 115200, 128000, 256000};

// Big enough for the longest fixed text and an argument of several hundred characters; a longer
// argument is shown cut.
constexpr int kMessageSize = 512;

struct Arguments {
    char* text[kMaxArguments];
    int count = 0;
};

void upperCase(char* text) {
    for (char* p = text; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
}

// Every run of spaces ends an argument, so a leading run leaves argument 0 empty. Blanks at the
// very end start nothing: a command line typed with a trailing space is not an error.
Arguments splitArguments(char* text) {
    Arguments args;
    args.text[args.count++] = text;
    char* p = text;
    while (*p != '\0') {
        if (*p != ' ') {
            ++p;
            continue;
        }
        while (*p == ' ') *p++ = '\0';
        if (*p == '\0' || args.count == kMaxArguments) break;
        args.text[args.count++] = p;
    }
    return args;
}

const Keyword* findKeyword(const char* argument) {
    for (const Keyword& keyword : kKeywords) {
        if (std::strcmp(argument, keyword.text) == 0) return &keyword;
    }
    return nullptr;
}

bool takesValue(Action action) {
    return action >= Action::kComPortValue;
}

bool isKnownBaudRate(int32_t baudRate) {
    for (int32_t known : kBaudRates) {
        if (baudRate == known) return true;
    }
    return false;
}

void apply(const Keyword& keyword, const char* value, LinkOptions& options) {
    switch (keyword.action) {
        case Action::kOpenDpcom:
            options.openDpcom = 1;
            break;
        case Action::kOpenAfname:
            options.openAfname = 1;
            break;
        case Action::kOpenParameters:
            options.openParameters = 1;
            break;
        case Action::kOpenVerschillen:
            options.openVerschillen = 1;
            break;
        case Action::kSelectComPort:
            options.comPort = keyword.comPort;
            break;
        case Action::kComPortValue:
            options.comPort = decimalValue(value);
            break;
        case Action::kBaudRateValue:
            options.baudRate = decimalValue(value);
            break;
        case Action::kIpAddressValue: {
            // The host keeps what fits in its field; a longer text is cut, never overruns it.
            size_t length = std::strlen(value);
            if (length > kIpAddressSize - 1) length = kIpAddressSize - 1;
            std::memcpy(options.ipAddress, value, length);
            options.ipAddress[length] = '\0';
            options.useSerial = 0;
            break;
        }
        case Action::kIpPortValue:
            options.ipPort = decimalValue(value);
            break;
    }
}

void show(MessageBoxes& boxes, const char* message) {
    boxes.show(message, text::kCommandLineCaption, kBoxOk);
}

}  // namespace

void ParseCommandLine(char* text, LinkOptions& options, MessageBoxes& boxes) {
    if (text == nullptr || text[0] == '\0') return;
    upperCase(text);
    const Arguments args = splitArguments(text);

    for (int i = 0; i < args.count;) {
        const char* argument = args.text[i];
        const Keyword* keyword = findKeyword(argument);
        if (keyword == nullptr) {
            int32_t value = decimalValue(argument);
            if (value >= 1) {
                options.baudRate = value;  // a bare number is a baud rate
            } else {
                char message[kMessageSize];
                std::snprintf(message, sizeof message, text::kArgumentNotValid, i, argument);
                show(boxes, message);
            }
            ++i;
            continue;
        }
        // A keyword that needs a value but comes last gets an empty one.
        const char* value = i + 1 < args.count ? args.text[i + 1] : "";
        apply(*keyword, value, options);
        i += takesValue(keyword->action) ? 2 : 1;
    }

    // Only a serial link has a port and a speed to check; TCP/IP values are used as given.
    if (options.useSerial != 1) return;
    if (options.comPort < 1 || options.comPort > 4) {
        options.comPort = 1;
        show(boxes, text::kSerialPortNotValid);
    }
    if (!isKnownBaudRate(options.baudRate)) {
        options.baudRate = 9600;
        show(boxes, text::kBaudRateNotValid);
    }
}

}  // namespace tavir
