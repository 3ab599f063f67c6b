#include "text_window.h"

#include "debugwin/debug_window_file.h"
#include "link/item_index.h"

namespace tavir::cli {

namespace {

// Every control can be made: a label is its record's word, an item control is the item itself.
class TextBuilder : public DebugWindowBuilder {
public:
    ControlHandle addLabel(int, const char* text) override { return const_cast<char*>(text); }
    ControlHandle addItem(DebugItem& item) override { return &item; }
};

}  // namespace

TextWindow::~TextWindow() {
    DestroyItemIndex(data.itemIndex);
}

std::unique_ptr<TextWindow> loadTextWindow(const char* path, MessageLog& log, const MacroTable& macros) {
    auto window = std::make_unique<TextWindow>();
    TextBuilder builder;
    if (loadDebugWindowFile(window->data, path, log, macros) != 0) return nullptr;
    makeWindowControls(window->data, path, log, builder);
    return window;
}

}  // namespace tavir::cli
