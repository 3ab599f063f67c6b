#pragma once
#include "base/message_boxes.h"

namespace tavir {

// Message boxes through MessageBoxA, without an owner window.
class Win32MessageBoxes : public MessageBoxes {
public:
    void show(const char* text, const char* caption, unsigned style) override;
};

}  // namespace tavir
