#pragma once
// The terminal picture of one debug window with its live values: the screen part's words where
// the file puts them, and each item's value as its control would show it.
#include <string>
#include <vector>

#include "link/value_record.h"
#include "text_window.h"

namespace tavir::cli {

class WatchView {
public:
    explicit WatchView(TextWindow& window);

    // A received value for the item with the record's key, as the debugger's value dispatch
    // takes it; false when no item of the window has that key.
    bool show(const ValueRecord& record);

    // One line per row of the window's grid, as wide as its columns, trailing blanks dropped.
    // A value item shows its text right-aligned in its width (the control's size cuts it); a
    // checkbox [x] for exactly 1, else [ ]; an item without a value yet shows dots.
    std::vector<std::string> lines() const;

    const TextWindow& window() const { return window_; }

private:
    TextWindow& window_;
    std::vector<char> shown_;    // by item: a value has arrived
    std::vector<char> checked_;  // by item: the check mark is on
};

}  // namespace tavir::cli
