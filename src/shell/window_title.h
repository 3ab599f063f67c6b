#pragma once

namespace tavir {

constexpr int kTitleCapacity = 256;

// "Debugger %3.3d" with the debugger number: the first part of the window title.
void formatBaseTitle(int number, char (&title)[kTitleCapacity]);

// "Selecteer debug bestand van Kalvoor %3.3d": the title of the open-file dialog.
void formatOpenFileTitle(int number, char (&title)[kTitleCapacity]);

// The debugger window's title: baseTitle, and when currentTitle (the current child window's
// path) is not empty, " - " and the file name after its last "\". Cut to 255 characters.
void composeWindowTitle(const char* baseTitle, const char* currentTitle, char (&title)[kTitleCapacity]);

}  // namespace tavir
