#pragma once

namespace tavir {

// The way up to the message window: one finished line at a time. The Win32 side appends it to
// the list control (on the user-interface thread); tests keep the lines in a vector.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Appends the line and selects it; gives its position, or a negative value when refused.
    virtual int addLine(const char* text) = 0;
};

}  // namespace tavir
