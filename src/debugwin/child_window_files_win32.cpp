// Debug window files becoming child windows: one by path, or every file of a directory that
// matches a pattern.
#include "base/message_log.h"
#include "debugwin/child_windows_win32.h"
#include "debugwin/debug_file_search.h"
#include "debugwin/file_system_search_win32.h"
#include "debugwin/message_window_win32.h"

namespace tavir {

namespace {

class DebugWindowSetHost : public DebugWindowHost {
public:
    explicit DebugWindowSetHost(DebugWindowSet& set) : set_(set) {}
    ~DebugWindowSetHost() override {
        if (linesHeld_) HoldMessageLines(set_.messageWindow, false);
    }
    int childCount() const override { return set_.childCount; }
    int openDebugWindowFile(const char* path) override { return OpenDebugWindowFile(set_, path); }
    // The line that the search begins is shown at once; the lines of the files after it are
    // painted together when the search ends: a list painting each line as it comes took most of
    // the start-up with 200 files.
    void repaint() override {
        RedrawWindow(set_.debuggerWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HoldMessageLines(set_.messageWindow, true);
        linesHeld_ = true;
    }

private:
    DebugWindowSet& set_;
    bool linesHeld_ = false;
};

}  // namespace

int OpenDebugWindowFile(DebugWindowSet& set, const char* path) {
    ReportMessage(*set.messages, kPlain, path);
    HWND child = CreateChildWindow(set, path);
    if (child == nullptr) return -1;
    // The new window was put last; it moves to its place by path among the others.
    char title[kChildTitleCapacity];
    GetWindowTextA(child, title, sizeof title);
    char other[kChildTitleCapacity];
    set.currentChild = sortInLast(set.childWindows, set.childCount, title, [&other](HWND window) {
        GetWindowTextA(window, other, sizeof other);
        return static_cast<const char*>(other);
    });
    // A window not shown has nothing to paint: only a shown one is repainted, which saved a tenth
    // of the start-up with 200 files.
    if (IsWindowVisible(child)) {
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return 0;
}

int LoadDebugWindowFiles(DebugWindowSet& set, const char* directory, const char* pattern) {
    FileSystemSearch search;
    DebugWindowSetHost host(set);
    return searchDebugWindowFiles(host, *set.messages, search, directory, pattern);
}

}  // namespace tavir
