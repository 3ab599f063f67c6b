#pragma once
// The child windows of a debugger window as the user sees them listed: the debugger window's title
// names the current one, and the two window list dialogs name each by its title or by its line in
// the list file "mkdebfls.txt" beside the debug window files.
#include <cstdio>

namespace tavir {

constexpr int kMaxChildWindows = 200;
constexpr int kTitleCapacity = 256;
constexpr int kChildTitleCapacity = 1024;  // a child window's title is the path of its file
constexpr int kListFileLineCapacity = 256;

// The debugger window's title: baseTitle, and when currentTitle (the current child window's
// path) is not empty, " - " and the file name after its last "\". Cut to 255 characters.
void composeWindowTitle(const char* baseTitle, const char* currentTitle, char (&title)[kTitleCapacity]);

// What a window list shows for the child window titled title: the first line of the open list
// file (read from its start) that contains the file name and extension of title, without its
// newline; title itself when no line does or there is no list file. entry holds
// kChildTitleCapacity characters.
void windowListEntry(const char* title, std::FILE* listFile, char* entry);

}  // namespace tavir
