#pragma once

#include "base/message_boxes.h"
#include "base/message_sink.h"

namespace tavir {

enum MessageType { kPlain = 1, kWarning = 2, kError = 3, kSystem = 4, kDebug = 5 };

constexpr int kMessageLineCapacity = 544;  // one line is at most 543 characters

// The file and line prefixes that a reader of a text file sets, and where finished lines go.
// One per debugger window. The prefixes are used by the file readers on the user-interface
// thread only.
struct MessageLog {
    char messageFileContext[1024] = {};
    char messageLineContext[16] = {};
    MessageSink* sink = nullptr;    // none: lines are dropped
    MessageBoxes* boxes = nullptr;  // none: the refusal box is not shown
};

// Builds one line from the prefixes, the type's prefix and up to three texts, and adds it.
void ReportMessage(MessageLog& log, int type, const char* text1, const char* text2 = nullptr,
                   const char* text3 = nullptr);

// The line as ReportMessage builds it, without adding it. buffer holds kMessageLineCapacity.
void buildMessageLine(const MessageLog& log, int type, const char* text1, const char* text2,
                      const char* text3, char* buffer);

// name (its first 1021 characters) + " : ", or empty without a name.
void SetMessageFile(MessageLog& log, const char* name);

// "(n) : " with n = line, or for a negative line the number held now minus line; empty for n <= 0.
void SetMessageLine(MessageLog& log, int line);

// The number held in the line prefix, 0 when empty.
int currentMessageLine(const MessageLog& log);

}  // namespace tavir
