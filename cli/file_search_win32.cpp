#include <windows.h>

#include "file_search.h"

namespace tavir::cli {

std::vector<FoundFile> findFiles(const std::string& searchPath) {
    std::vector<FoundFile> found;
    WIN32_FIND_DATAA data{};
    HANDLE handle = FindFirstFileA(searchPath.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return found;
    constexpr DWORD kSkipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY;
    do {
        found.push_back({data.cFileName, (data.dwFileAttributes & kSkipped) != 0});
    } while (FindNextFileA(handle, &data));
    FindClose(handle);
    return found;
}

}  // namespace tavir::cli
