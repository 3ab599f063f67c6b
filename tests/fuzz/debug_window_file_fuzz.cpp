// Reads arbitrary bytes as a debug window file, then checks the record again: the counts and
// places within their limits, every item either undefined or defined within the ranges the
// loader enforces, a control only for a defined item, the index finding each indexed item by its
// key, every message line within its buffer, and the file and line prefixes emptied, also after
// the window's controls were made.
#include "debugwin/debug_window_file.h"
#include "fuzz_files.h"

namespace {

using namespace tavir;
using fuzz::check;

// Hands out distinct made-up controls and refuses every seventh, as a full window system might.
struct FakeBuilder : DebugWindowBuilder {
    uintptr_t made = 0;
    ControlHandle next() {
        ++made;
        return made % 7 == 0 ? nullptr : reinterpret_cast<ControlHandle>(made);
    }
    ControlHandle addLabel(int labelNumber, const char* text) override {
        check(labelNumber >= 0 && labelNumber < kMaxLabels);
        check(text[0] != '\0' && std::strchr(text, '~') == nullptr);
        return next();
    }
    ControlHandle addItem(DebugItem& item) override {
        check(item.functionCode >= 0 && item.functionCode < 512);
        return next();
    }
};

struct Workspace {
    fuzz::Scratch folder{"tavir-debugwin-fuzz"};
    std::unique_ptr<MacroTable> macros = fuzz::builtInMacros();
    Workspace() {
        check(addMacro(*macros, "SG02", 2) == 0);
        check(addMacro(*macros, "EP_GROOT", 25000) == 0);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace work;
    const std::string path = work.folder.write("DEBUG_FUZ.TXT", data, size);

    auto child = std::make_unique<ChildWindowData>();
    fuzz::CountedLog lines;
    MessageLog& log = lines.log;
    FakeBuilder builder;
    int result = loadDebugWindowFile(*child, path.c_str(), log, *work.macros);
    check(result == 0 || result == -1);
    check(log.messageFileContext[0] == '\0' && log.messageLineContext[0] == '\0');
    if (result == 0) {
        const int wanted = wantedControls(*child);
        const int made = makeWindowControls(*child, path.c_str(), log, builder);
        check(builder.made == static_cast<uintptr_t>(wanted) && made == wanted - wanted / 7);
        check(log.messageFileContext[0] == '\0' && log.messageLineContext[0] == '\0');
    }
    check(child->itemCount >= 0 && child->itemCount <= kMaxDebugItems);
    check(child->labelCount >= 0 && child->labelCount <= kMaxLabels);
    if (result == -1) {
        check(lines.count > 0);
        check(child->itemIndex == nullptr);
        return 0;
    }
    check(child->columns >= 4 && child->columns <= 255 + 4);
    check(child->rows >= 2 && child->rows <= 23 + 2);
    for (int i = 0; i < child->labelCount; ++i) {
        const DebugLabel& label = child->labels[i];
        check(label.length > 0 && label.row >= 0 && label.row < 24);
        check(std::strlen(labelText(*child, i)) == static_cast<size_t>(label.length));
        check(label.column >= 0 && label.column + label.length <= child->columns - 4);
    }
    check((child->itemCount == 0) == (child->itemIndex == nullptr));
    // The loader leaves the index sorted, so that the thread that delivers values only reads it.
    if (child->itemIndex) check(child->itemIndex->count == 0 || child->itemIndex->sorted == 1);
    int defined = 0;
    for (int i = 0; i < child->itemCount; ++i) {
        const DebugItem& item = child->items[i];
        check(item.index == i && item.itemNumber >= 0 && item.itemNumber <= 99);
        const int tildes = item.width - 1 - 4 * item.doubledDisplay;
        check(tildes >= 1 && tildes <= kMaxItemTildes);
        check(item.row >= 0 && item.row < 24 && item.column + tildes <= child->columns - 4);
        if (item.functionCode < 0) {
            check(item.window == nullptr && (item.flags & kItemHasControl) == 0 && item.signalGroup == -1 &&
                  item.block == -1 && !item.doubledDisplay);
            continue;
        }
        ++defined;
        check((item.window != nullptr) == ((item.flags & kItemHasControl) != 0));
        check(item.functionCode < 512);
        const CategoryAttributes needs = categoryAttributes(item.functionCode);
        check(needs.needsSignalGroup ? item.signalGroup >= 0 && item.signalGroup <= 26000
                                     : item.signalGroup == -1);
        check(needs.needsBlock ? item.block >= 0 && item.block <= 47 : item.block == -1);
        check(item.isCheckbox == (needs.isCheckbox ? 1 : 0));
        // Whatever item the key finds has that key: this one, or the first with the same key.
        const DebugItem* found = FindItem(child->itemIndex, requestKey(item));
        check(found != nullptr && RecordKey(requestKey(*found)) == RecordKey(requestKey(item)));
        check(found <= &item);
    }
    if (child->itemIndex) check(child->itemIndex->count <= defined);
    DestroyItemIndex(child->itemIndex);
    return 0;
}
