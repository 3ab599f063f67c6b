#pragma once

namespace tavir {

// Style bits of a message box; the values are the platform's, so the Win32 side passes them on.
enum MessageBoxStyle : unsigned {
    kBoxOk = 0x00000000u,
    kBoxIconHand = 0x00000010u,
    kBoxIconExclamation = 0x00000030u,
};

// Modal message boxes without an owner window. The Win32 side calls MessageBoxA; tests record them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(const char* text, const char* caption, unsigned style) = 0;
};

}  // namespace tavir
