#include "text_window.h"

#include "debugwin/debug_window_file.h"
#include "link/item_index.h"

namespace tavir::cli {

namespace {

// Every control can be made: a label is its text, an item control is the item itself.
class TextBuilder : public DebugWindowBuilder {
public:
    explicit TextBuilder(TextWindow& window) : window_(window) {}
    ControlHandle addLabel(int, const char* text) override {
        window_.labelTexts.emplace_back(text);
        return &window_.labelTexts;  // only its being there counts; the text is kept by index
    }
    ControlHandle addItem(DebugItem& item) override { return &item; }

private:
    TextWindow& window_;
};

}  // namespace

TextWindow::~TextWindow() {
    DestroyItemIndex(data.itemIndex);
}

std::unique_ptr<TextWindow> loadTextWindow(const char* path, MessageLog& log, const MacroTable& macros) {
    auto window = std::make_unique<TextWindow>();
    window->labelTexts.reserve(kMaxLabels);
    TextBuilder builder(*window);
    if (loadDebugWindowFile(window->data, path, log, macros, builder) != 0) return nullptr;
    return window;
}

}  // namespace tavir::cli
