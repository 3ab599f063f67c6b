#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "file_search.h"

namespace tavir::cli {

std::vector<FoundFile> findFiles(const std::string& searchPath) {
    std::vector<FoundFile> found;
    // The debugger joins its paths with a backslash; here it is a separator like the slash.
    std::string path = searchPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    size_t cut = path.rfind('/');
    std::string dir = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
    std::string pattern = cut == std::string::npos ? path : path.substr(cut + 1);
    DIR* listing = opendir(dir.c_str());
    if (listing == nullptr) return found;
    while (const dirent* entry = readdir(listing)) {
        if (!matchesPattern(entry->d_name, pattern.c_str())) continue;
        struct stat status {};
        bool isFile = stat((dir + "/" + entry->d_name).c_str(), &status) == 0 && S_ISREG(status.st_mode);
        found.push_back({entry->d_name, !isFile});
    }
    closedir(listing);
    std::sort(found.begin(), found.end(),
              [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
    return found;
}

std::string hostPath(const std::string& path) {
    std::string host = path;
    for (char& c : host)
        if (c == '\\') c = '/';
    return host;
}

}  // namespace tavir::cli
