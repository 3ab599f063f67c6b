#include "shell/startup_win32.h"

#include <cstdio>

#include "definitions/object_tables.h"
#include "resources/shell_texts.h"
#include "shell/debug_file_search.h"
#include "base/join_path.h"
#include "shell/debug_window_seam_win32.h"
#include "shell/load_definitions.h"
#include "shell/main_window_win32.h"

namespace tavir {

namespace {

char debugDirectories[kMainWindowTableCapacity][kDebugDirectoryCapacity];

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
        constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
        entry.name = found_.cFileName;
        entry.skipped = (found_.dwFileAttributes & kSkipped) != 0;
        return true;
    }
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA found_{};
};

class MainWindowHost : public DebugWindowHost {
public:
    explicit MainWindowHost(MainWindowData& main) : main_(main) {}
    int childCount() const override { return main_.childCount; }
    int openDebugWindowFile(const char* path) override { return OpenDebugWindowFile(main_, path); }
    void repaint() override {
        RedrawWindow(main_.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

private:
    MainWindowData& main_;
};

}  // namespace

MainWindowTable& mainWindowTable() {
    static MainWindowTable table{};
    return table;
}

void clearMainWindowTable() {
    MainWindowTable& table = mainWindowTable();
    for (HWND& window : table.windows) window = nullptr;
    table.highest = -1;
}

void enterMainWindow(int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    MainWindowTable& table = mainWindowTable();
    table.windows[number] = window;
    if (number > table.highest) table.highest = number;
}

void leaveMainWindow(int32_t number, HWND window) {
    if (number < 0 || number >= kMainWindowTableCapacity) return;
    MainWindowTable& table = mainWindowTable();
    if (table.windows[number] == window) table.windows[number] = nullptr;
}

LinkOptions& programLinkOptions() {
    static LinkOptions options;
    return options;
}

HINSTANCE& programInstance() {
    static HINSTANCE instance = nullptr;
    return instance;
}

const char* debugDirectory(int32_t number) {
    if (number < 0 || number >= kMainWindowTableCapacity) return "";
    return debugDirectories[number];
}

HWND OpenDebugger(int32_t number, const char* definitionDirectory, const char* debugDirectoryPath) {
    MainWindowCreation creation{number, definitionDirectory};
    HWND window = CreateWindowExA(0, kMainWindowClass, text::kMainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, programInstance(),
                                  &creation);
    if (window == nullptr) return nullptr;
    MainWindowData& main = *mainWindowData(window);
    if (CreateMessageWindow(main.messageOwner, main.font) == nullptr) {
        DestroyWindow(window);
        return nullptr;
    }
    ShowWindow(window, SW_SHOW);

    DefinitionsResult definitions =
        LoadDefinitions(*main.definitions, programTables(), main.messages, main.boxes, definitionDirectory);
    if (definitions == DefinitionsResult::kFailed) {
        DestroyWindow(window);
        return nullptr;
    }
    if (definitions == DefinitionsResult::kHeaderPathTooLong) return window;

    LoadDebugWindowFiles(main, debugDirectoryPath, text::kDebugFilePattern);
    LoadDebugWindowFiles(main, debugDirectoryPath, text::kDebugFileAltPattern);

    if (number >= 0 && number < kMainWindowTableCapacity) {
        std::snprintf(debugDirectories[number], kDebugDirectoryCapacity, "%s", debugDirectoryPath);
    }
    return window;
}

int LoadDebugWindowFiles(MainWindowData& main, const char* directory, const char* pattern) {
    FileSystemSearch search;
    MainWindowHost host(main);
    return searchDebugWindowFiles(host, main.messages, search, directory, pattern);
}

int OpenDebugWindowFile(MainWindowData& main, const char* path) {
    ReportMessage(main.messages, kPlain, path);
    HWND child = CreateChildWindow(main, path);
    if (child == nullptr) return -1;
    // The new window was put last; it moves to its place by path among the others.
    char title[kPathCapacity];
    GetWindowTextA(child, title, sizeof title);
    char other[kPathCapacity];
    int place = sortInLast(main.childWindows, main.childCount, title, [&other](HWND window) {
        GetWindowTextA(window, other, sizeof other);
        return static_cast<const char*>(other);
    });
    main.currentChild = place;
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

}  // namespace tavir
