#include "debugwin/display_start.h"

namespace tavir {

unsigned displayDelayLeft(uint32_t spentMs) {
    return spentMs < kDisplayDelayMs ? kDisplayDelayMs - spentMs : 1;
}

int32_t nextDisplayStart(int32_t& displayStartSequence) {
    return ++displayStartSequence;
}

bool displayStartRefused(int32_t& displayStartSequence) {
    if (displayStartSequence > 1) {
        --displayStartSequence;
        return false;
    }
    return true;
}

bool takeDisplayStart(int32_t& displayStartSequence, int32_t sequence) {
    if (displayStartSequence != sequence) return false;
    displayStartSequence = -1;
    return true;
}

void requestItemValues(ChildWindowData& child, Transport& link) {
    for (int i = 0; i < child.itemCount; ++i) {
        const DebugItem& item = child.items[i];
        if ((item.flags & kItemMonitored) == 0) continue;
        requestForItem(link, item, kRead);
        requestForItem(link, item, kMonitor);
    }
}

void stopItemValues(ChildWindowData& child, Transport& link) {
    for (int i = 0; i < child.itemCount; ++i) {
        if ((child.items[i].flags & kItemMonitored) != 0) requestForItem(link, child.items[i], kStop);
    }
}

int checkItemReplies(ChildWindowData& child, Transport& link, ReplySide& side) {
    side.takeWaitingValues();
    int count = 0;
    for (int i = 0; i < child.itemCount; ++i) {
        const DebugItem& item = child.items[i];
        if (side.answered(item)) {
            ++count;
            continue;
        }
        requestForItem(link, item, kRead);
        requestForItem(link, item, kMonitor);
    }
    return count;
}

}  // namespace tavir
