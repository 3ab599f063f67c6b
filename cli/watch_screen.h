#pragma once
// The live terminal view of tavir-cli watch: the WatchView's lines redrawn in place.
#include <functional>
#include <string>

#include "watch_view.h"

namespace tavir::cli {

// Hands the values received since the last call to the view; false once the link has ended.
using WatchPoll = std::function<bool(WatchView& view)>;

// Draws title and the view's lines, polls about ten times a second and redraws, until q is
// pressed or poll gives false. Gives 0 after q, 3 when the link ended, 2 when there is no
// terminal to draw on.
int runWatchScreen(WatchView& view, const std::string& title, const WatchPoll& poll);

}  // namespace tavir::cli
