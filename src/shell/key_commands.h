#pragma once

namespace tavir {

// Virtual key codes of the keys the debugger window uses (the platform's values).
constexpr int kKeyTab = 0x09;
constexpr int kKeyControl = 0x11;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyF3 = 0x72;
constexpr int kKeyF5 = 0x74;

enum class KeyEffect {
    kCommand,          // send command to the window itself
    kFlipKeysToChild,  // Ctrl+Tab: keys go to the current child window or to the message window
    kToChild,          // not the window's own key: the current child window may take it
};

struct KeyAction {
    KeyEffect effect;
    int command;  // for kCommand
};

// What a key pressed in the debugger window does, with or without Ctrl held. Ctrl itself is
// handled before this (it only sets ctrlDown).
KeyAction keyAction(bool ctrlDown, int virtualKey);

}  // namespace tavir
