#pragma once
#include <cstring>

#include "base/message_log.h"

namespace tavir {

// One entry of a directory search.
struct DirectoryEntry {
    const char* name;
    bool skipped;  // a directory, or a system or temporary file
};

// A search of one directory for the names that match a pattern with "?" and "*"; the Win32
// side asks the file system, the tests list names of their own.
class DirectorySearch {
public:
    virtual ~DirectorySearch() = default;
    // Starts the search for searchPath (directory and pattern); false when nothing
    // matches or the search cannot be made.
    virtual bool first(const char* searchPath, DirectoryEntry& entry) = 0;
    virtual bool next(DirectoryEntry& entry) = 0;
    virtual void close() = 0;
};

// What the debugger window offers to the search.
class DebugWindowHost {
public:
    virtual ~DebugWindowHost() = default;
    virtual int childCount() const = 0;
    // OpenDebugWindowFile: 0 when the file became a child window, -1 when not.
    virtual int openDebugWindowFile(const char* path) = 0;
    // Shows the lines written so far before any file is read.
    virtual void repaint() = 0;
};

// Opens a child window for every file in directory that matches pattern, with the progress and
// problem lines of the search; gives the number of files tried.
int searchDebugWindowFiles(DebugWindowHost& host, MessageLog& log, DirectorySearch& search,
                           const char* directory, const char* pattern);

// Moves the last of count entries, whose title is title, to its place among the others, which
// are in ascending byte order of their titles: before the first whose title compares greater,
// else it stays last. Gives the place. titleOf(entry) gives another entry's title.
template <class Entry, class TitleOf>
int sortInLast(Entry* entries, int count, const char* title, TitleOf titleOf) {
    if (count <= 0) return -1;
    Entry last = entries[count - 1];
    // The entries before it are in order, each having been put in by this function, so the first
    // greater title is found by halving: a title asked of each window made the start-up with 200
    // files slower.
    int place = 0;
    int end = count - 1;
    while (place < end) {
        const int middle = place + (end - place) / 2;
        if (std::strcmp(titleOf(entries[middle]), title) > 0) {
            end = middle;
        } else {
            place = middle + 1;
        }
    }
    for (int i = count - 1; i > place; --i) entries[i] = entries[i - 1];
    entries[place] = last;
    return place;
}

}  // namespace tavir
