#pragma once
#include <windows.h>

namespace tavir {

struct MainWindowData;

// Where the start-up and the debugger window meet the debug child windows: the procedures of
// the child and item classes that the start-up registers, and the creation of one child window
// from a debug window file, which OpenDebugWindowFile calls.

LRESULT CALLBACK ChildWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CheckboxItemWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creates a child window titled path, loads the file into it, counts it and updates the menu;
// gives the window, or none when it could not be made or loaded.
HWND CreateChildWindow(MainWindowData& main, const char* path);

}  // namespace tavir
