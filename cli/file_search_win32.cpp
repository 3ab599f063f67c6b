#include "debugwin/file_system_search_win32.h"
#include "file_search.h"

namespace tavir::cli {

std::vector<FoundFile> findFiles(const std::string& searchPath) {
    std::vector<FoundFile> found;
    FileSystemSearch search;
    DirectoryEntry entry{};
    for (bool more = search.first(searchPath.c_str(), entry); more; more = search.next(entry))
        found.push_back({entry.name, entry.skipped});
    return found;
}

std::string hostPath(const std::string& path) {
    return path;
}

}  // namespace tavir::cli
