#include "debugwin/debug_file_search.h"

#include <cstdio>

#include "base/join_path.h"
#include "debugwin/window_list.h"
#include "resources/debugwin_texts.h"

namespace tavir {

namespace {

void reportWindowLimit(DebugWindowHost& host, MessageLog& log) {
    if (host.childCount() < kMaxChildWindows) return;
    char line[64];
    std::snprintf(line, sizeof line, text::kWindowLimitFormat, host.childCount());
    ReportMessage(log, kWarning, line);
}

}  // namespace

int searchDebugWindowFiles(DebugWindowHost& host, MessageLog& log, DirectorySearch& search,
                           const char* directory, const char* pattern) {
    const char* joined = JoinPath(directory, pattern);
    if (joined == nullptr) {
        ReportMessage(log, kError, pattern, text::kDebugPathTooLong, directory);
        ReportMessage(log, kPlain, text::kReadingDebugFiles);
        ReportMessage(log, kPlain, text::kNoDebugFiles);
        return 0;
    }
    // JoinPath's buffer is shared with the paths of the entries below.
    char searchPath[kPathCapacity];
    std::snprintf(searchPath, sizeof searchPath, "%s", joined);
    ReportMessage(log, kPlain, searchPath, text::kReadingDebugFiles);
    host.repaint();

    int tried = 0;
    DirectoryEntry entry{};
    bool found = search.first(searchPath, entry);
    while (found && host.childCount() < kMaxChildWindows) {
        if (!entry.skipped) {
            const char* path = JoinPath(directory, entry.name);
            if (path == nullptr) {
                ReportMessage(log, kPlain, entry.name, text::kDebugPathTooLong, directory);
            } else {
                char copy[kPathCapacity];
                std::snprintf(copy, sizeof copy, "%s", path);
                ++tried;
                host.openDebugWindowFile(copy);
            }
        }
        found = search.next(entry);
    }
    search.close();

    if (tried == 0) ReportMessage(log, kPlain, text::kNoDebugFiles);
    reportWindowLimit(host, log);
    return tried;
}

}  // namespace tavir
