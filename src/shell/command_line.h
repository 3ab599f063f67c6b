#pragma once
#include <cstdint>

#include "base/message_boxes.h"
#include "shell/link_options.h"

namespace tavir {

// At most this many arguments of the command line are looked at; the rest of the text is ignored.
constexpr int kMaxArguments = 10;

// Reads the command-line text (the text after the program name) into options. The text is
// upper-cased and cut into arguments in place. Problems are told in message boxes and parsing goes
// on; an empty text leaves options as they are.
void ParseCommandLine(char* text, LinkOptions& options, MessageBoxes& boxes);

}  // namespace tavir
