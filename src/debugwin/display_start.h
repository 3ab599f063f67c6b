#pragma once
// When a child window's live values start, and how its items are asked for them. A window that
// becomes current is started half a second later, and only when no other window became current
// in between: each scheduling takes the next sequence number, and a timer acts only when its
// number is still the latest. Half a second after the start the items that got no value are
// asked once more.
#include <cstdint>

#include "debugwin/child_window_data.h"
#include "link/transport.h"

namespace tavir {

constexpr unsigned kDisplayDelayMs = 500;  // from current to started, and from started to checked

// What is left of the delay from current to started when spentMs of it have passed already (a
// window shown for the first time makes its controls in that time); at least 1 ms.
unsigned displayDelayLeft(uint32_t spentMs);

// A start is scheduled: the sequence goes up by one (from -1, none pending, to 0); gives the
// sequence its timer carries.
int32_t nextDisplayStart(int32_t& displayStartSequence);

// The timer of the start just scheduled could not be set: gives whether the start runs at once.
// Above 1 the sequence is taken back instead, since the start already pending will act.
bool displayStartRefused(int32_t& displayStartSequence);

// The timer of sequence ran out: whether its start is the latest one scheduled. The sequence is
// then cleared (-1), so that a later timer of the same number does nothing.
bool takeDisplayStart(int32_t& displayStartSequence, int32_t sequence);

// Read and then Monitor for every monitored item, in item order.
void requestItemValues(ChildWindowData& child, Transport& link);

// Stop for every monitored item, in item order.
void stopItemValues(ChildWindowData& child, Transport& link);

// What the reply check asks of the window side.
class ReplySide {
public:
    virtual ~ReplySide() = default;
    // The values received until now, still waiting for the window, go to its items.
    virtual void takeWaitingValues() = 0;
    // Whether the item shows a value received since the start.
    virtual bool answered(const DebugItem& item) = 0;
};

// The reply check: the waiting values are taken first, so that a value received before the
// check counts as an answer; then every item that is not answered is asked again with Read and
// then Monitor. Gives the number of items answered.
int checkItemReplies(ChildWindowData& child, Transport& link, ReplySide& side);

}  // namespace tavir
