// Debug window files becoming child windows: one by path, or every file of a directory that
// matches a pattern.
#include "base/message_log.h"
#include "debugwin/child_windows_win32.h"
#include "debugwin/debug_file_search.h"

namespace tavir {

namespace {

// The file system's side of the search for debug window files.
class FileSystemSearch : public DirectorySearch {
public:
    bool first(const char* searchPath, DirectoryEntry& entry) override {
        handle_ = FindFirstFileA(searchPath, &found_);
        return handle_ != INVALID_HANDLE_VALUE && fill(entry);
    }
    bool next(DirectoryEntry& entry) override {
        return handle_ != INVALID_HANDLE_VALUE && FindNextFileA(handle_, &found_) && fill(entry);
    }
    void close() override {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    bool fill(DirectoryEntry& entry) {
        constexpr DWORD kSkipped =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
        entry.name = found_.cFileName;
        entry.skipped = (found_.dwFileAttributes & kSkipped) != 0;
        return true;
    }
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA found_{};
};

class DebugWindowSetHost : public DebugWindowHost {
public:
    explicit DebugWindowSetHost(DebugWindowSet& set) : set_(set) {}
    int childCount() const override { return set_.childCount; }
    int openDebugWindowFile(const char* path) override { return OpenDebugWindowFile(set_, path); }
    void repaint() override {
        RedrawWindow(set_.debuggerWindow, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

private:
    DebugWindowSet& set_;
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
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

int LoadDebugWindowFiles(DebugWindowSet& set, const char* directory, const char* pattern) {
    FileSystemSearch search;
    DebugWindowSetHost host(set);
    return searchDebugWindowFiles(host, *set.messages, search, directory, pattern);
}

}  // namespace tavir
