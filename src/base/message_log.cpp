#include "base/message_log.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "base/parse_decimal.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

// Appends piece when the result stays below limit characters; a piece that does not fit is
// left out whole.
void appendIfFits(char* buffer, const char* piece, size_t limit) {
    size_t have = std::strlen(buffer);
    size_t add = std::strlen(piece);
    if (add + have < limit) std::memcpy(buffer + have, piece, add + 1);
}

}  // namespace

void buildMessageLine(const MessageLog& log, int type, const char* text1, const char* text2,
                      const char* text3, char* buffer) {
    buffer[0] = '\0';
    if (log.messageFileContext[0]) appendIfFits(buffer, log.messageFileContext, 512);
    if (log.messageLineContext[0]) appendIfFits(buffer, log.messageLineContext, 512);
    if (type >= kPlain && type <= kDebug) {
        appendIfFits(buffer, text::kMessageTypePrefix[type - 1], kMessageLineCapacity);
    } else {
        // An unknown type loses the context prefixes as well.
        std::memcpy(buffer, text::kUnknownMessageType, sizeof text::kUnknownMessageType);
    }
    for (const char* piece : {text1, text2, text3}) {
        if (piece) appendIfFits(buffer, piece, kMessageLineCapacity);
    }
}

void ReportMessage(MessageLog& log, int type, const char* text1, const char* text2, const char* text3) {
    char buffer[kMessageLineCapacity];
    buildMessageLine(log, type, text1, text2, text3, buffer);
    int position = log.sink ? log.sink->addLine(buffer) : -1;
    if (position < 0 && log.sink && log.boxes) {
        log.boxes->show(text::kMessageLineRefused, text::kMessageLineRefusedCaption, kBoxOk);
    }
}

void SetMessageFile(MessageLog& log, const char* name) {
    char* context = log.messageFileContext;
    if (!name) {
        context[0] = '\0';
        return;
    }
    size_t length = std::strlen(name);
    if (length > 1021) length = 1021;
    std::memcpy(context, name, length);
    // " : " after at most 1021 characters: the whole context stays within 1023 characters.
    std::memcpy(context + length, " : ", 3);
    size_t total = length + 3;
    if (total > 1023) total = 1023;
    context[total] = '\0';
}

int currentMessageLine(const MessageLog& log) {
    const char* open = std::strchr(log.messageLineContext, '(');
    if (!open) return 0;
    return parseDecimal(open + 1);
}

void SetMessageLine(MessageLog& log, int line) {
    long long n = line >= 0 ? line : static_cast<long long>(currentMessageLine(log)) - line;
    if (n > 0 && n <= 2147483647LL) {
        std::snprintf(log.messageLineContext, sizeof log.messageLineContext, "(%d) : ", static_cast<int>(n));
    } else {
        log.messageLineContext[0] = '\0';
    }
}

}  // namespace tavir
