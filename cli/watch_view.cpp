#include "watch_view.h"

#include <algorithm>

#include "debugwin/item_value_text.h"
#include "link/item_index.h"

namespace tavir::cli {

namespace {

// Writes text into line at column, as far as the line reaches.
void put(std::string& line, int column, const std::string& text) {
    if (column < 0 || column >= static_cast<int>(line.size())) return;
    size_t room = line.size() - static_cast<size_t>(column);
    line.replace(static_cast<size_t>(column), std::min(room, text.size()), text, 0, room);
}

}  // namespace

WatchView::WatchView(TextWindow& window)
    : window_(window),
      shown_(static_cast<size_t>(window.data.itemCount), 0),
      checked_(static_cast<size_t>(window.data.itemCount), 0) {}

bool WatchView::show(const ValueRecord& record) {
    DebugItem* item = FindItem(window_.data.itemIndex, record);
    if (item == nullptr) return false;
    auto at = static_cast<size_t>(item->index);
    checked_[at] = takeItemValue(*item, record.value) ? 1 : 0;
    shown_[at] = 1;
    return true;
}

std::vector<std::string> WatchView::lines() const {
    const ChildWindowData& data = window_.data;
    std::vector<std::string> rows(static_cast<size_t>(std::max(data.rows, 0)),
                                  std::string(static_cast<size_t>(std::max(data.columns, 0)), ' '));
    auto row = [&](int r) -> std::string* {
        return r >= 0 && r < data.rows ? &rows[static_cast<size_t>(r)] : nullptr;
    };
    for (int l = 0; l < data.labelCount; ++l) {
        const DebugLabel& label = data.labels[l];
        if (std::string* line = row(label.row)) put(*line, label.column, labelText(data, l));
    }
    for (int i = 0; i < data.itemCount; ++i) {
        const DebugItem& item = data.items[i];
        std::string* line = row(item.row);
        if (item.window == nullptr || line == nullptr) continue;
        auto at = static_cast<size_t>(i);
        if (item.isCheckbox) {
            put(*line, item.column, !shown_[at] ? "[.]" : checked_[at] ? "[x]" : "[ ]");
            continue;
        }
        auto width = static_cast<size_t>(std::max(item.width, 0));
        std::string text = shown_[at] ? std::string(item.text).substr(0, width) : std::string(width, '.');
        put(*line, item.column, std::string(width - text.size(), ' ') + text);
    }
    for (std::string& line : rows) line.erase(line.find_last_not_of(' ') + 1);
    return rows;
}

}  // namespace tavir::cli
