#include "shell/key_commands.h"

#include "resources/tavir_rc.h"

namespace tavir {

KeyAction keyAction(bool ctrlDown, int virtualKey) {
    if (virtualKey == kKeyPageUp) return {KeyEffect::kCommand, IDM_PREVIOUS_WINDOW};
    if (virtualKey == kKeyPageDown) return {KeyEffect::kCommand, IDM_NEXT_WINDOW};
    if (ctrlDown) {
        switch (virtualKey) {
            case kKeyTab:
                return {KeyEffect::kFlipKeysToChild, 0};
            case 'F':
            case 'L':
                return {KeyEffect::kCommand, IDM_FONT};
            case 'K':
                return {KeyEffect::kCommand, IDM_CHOOSE_WINDOW};
            case 'O':
                return {KeyEffect::kCommand, IDM_OPEN};
            case 'S':
                return {KeyEffect::kCommand, IDM_CLOSE_WINDOWS};
            default:
                break;
        }
    } else {
        if (virtualKey == kKeyF3) return {KeyEffect::kCommand, IDM_DISPLAY_OFF};
        if (virtualKey == kKeyF5) return {KeyEffect::kCommand, IDM_DISPLAY_ON};
    }
    return {KeyEffect::kToChild, 0};
}

}  // namespace tavir
