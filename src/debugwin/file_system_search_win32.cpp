#include "debugwin/file_system_search_win32.h"

namespace tavir {

bool FileSystemSearch::first(const char* searchPath, DirectoryEntry& entry) {
    close();
    handle_ = FindFirstFileA(searchPath, &found_);
    return handle_ != INVALID_HANDLE_VALUE && fill(entry);
}

bool FileSystemSearch::next(DirectoryEntry& entry) {
    return handle_ != INVALID_HANDLE_VALUE && FindNextFileA(handle_, &found_) && fill(entry);
}

void FileSystemSearch::close() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool FileSystemSearch::fill(DirectoryEntry& entry) {
    // Directories, system files and temporary files are passed over by the search.
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
    entry.name = found_.cFileName;
    entry.skipped = (found_.dwFileAttributes & kSkipped) != 0;
    return true;
}

}  // namespace tavir
