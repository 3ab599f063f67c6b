#include "file_search.h"

#include <cctype>

namespace tavir::cli {

bool matchesPattern(const char* name, const char* pattern) {
    for (;;) {
        if (*pattern == '\0') return *name == '\0';
        if (pattern[0] == '.' && pattern[1] == '*' && pattern[2] == '\0' && *name == '\0') return true;
        if (*pattern == '*') {
            for (const char* rest = name;; ++rest) {
                if (matchesPattern(rest, pattern + 1)) return true;
                if (*rest == '\0') return false;
            }
        }
        if (*name == '\0') return false;
        if (*pattern != '?' && std::toupper(static_cast<unsigned char>(*pattern)) !=
                                   std::toupper(static_cast<unsigned char>(*name))) {
            return false;
        }
        ++pattern;
        ++name;
    }
}

bool ListedSearch::first(const char* searchPath, DirectoryEntry& entry) {
    files_ = findFiles(searchPath);
    next_ = 0;
    return fill(entry);
}

bool ListedSearch::next(DirectoryEntry& entry) {
    return fill(entry);
}

bool ListedSearch::fill(DirectoryEntry& entry) {
    if (next_ >= files_.size()) return false;
    entry.name = files_[next_].name.c_str();
    entry.skipped = files_[next_].skipped;
    ++next_;
    return true;
}

std::vector<std::string> ListedSearch::unread() const {
    std::vector<std::string> names;
    for (size_t i = next_; i < files_.size(); ++i) {
        if (!files_[i].skipped) names.push_back(files_[i].name);
    }
    return names;
}

}  // namespace tavir::cli
