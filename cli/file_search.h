#pragma once
// The search for debug window files without the debugger's window: the names in a directory
// that match a pattern such as "DEBUG_???.*", as the debugger's start-up finds them.
#include <string>
#include <vector>

#include "debugwin/debug_file_search.h"

namespace tavir::cli {

struct FoundFile {
    std::string name;
    bool skipped = false;  // a directory (or on Windows a system or temporary file)
};

// The entries of the directory of searchPath (a directory, a separator and a pattern) that match
// the pattern. Windows asks the file system, in its order; elsewhere the names are matched by
// matchesPattern and sorted by byte order, which is the order of Windows' own file systems for the
// names these patterns take.
std::vector<FoundFile> findFiles(const std::string& searchPath);

// A path the program built, as the system takes it: on POSIX a "\" separates directories, as it
// does on Windows.
std::string hostPath(const std::string& path);

// "?" is one character, "*" any run, a final ".*" also matches a name without a dot; letters
// match in either case, as on Windows.
bool matchesPattern(const char* name, const char* pattern);

// A DirectorySearch over findFiles that remembers how far it was read: the names the search
// never reached are the files the debugger leaves out at its window limit.
class ListedSearch : public DirectorySearch {
public:
    bool first(const char* searchPath, DirectoryEntry& entry) override;
    bool next(DirectoryEntry& entry) override;
    void close() override {}
    // The names after the last one handed out.
    std::vector<std::string> unread() const;

private:
    bool fill(DirectoryEntry& entry);
    std::vector<FoundFile> files_;
    size_t next_ = 0;
};

}  // namespace tavir::cli
