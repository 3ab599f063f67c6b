#pragma once
// The file system's side of the search for debug window files, by FindFirstFile: what TAVIR.EXE
// and tavir-cli on Windows both read a directory with.
#include <windows.h>

#include "debugwin/debug_file_search.h"

namespace tavir {

class FileSystemSearch : public DirectorySearch {
public:
    ~FileSystemSearch() override { close(); }
    bool first(const char* searchPath, DirectoryEntry& entry) override;
    bool next(DirectoryEntry& entry) override;
    void close() override;

private:
    bool fill(DirectoryEntry& entry);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA found_{};
};

}  // namespace tavir
