// The yardstick of the debug window start-up figure: a program that makes the windows TAVIR.EXE
// makes for N debug window files of 100 item controls and 200 labels (a hidden child window each,
// with its labels and edit controls) and nothing else, and prints how long that took. What the
// platform takes for the windows alone is the floor of the start-up.
//   window_creation N
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

double milliseconds() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 50;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND top = CreateWindowExA(0, "static", "yardstick", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                               nullptr, instance, nullptr);
    ShowWindow(top, SW_SHOW);
    const double started = milliseconds();
    int made = 0;
    for (int file = 0; file < files; ++file) {
        HWND child = CreateWindowExA(0, "static", "", WS_CHILD | WS_BORDER, 0, 0, 0, 0, top, nullptr,
                                     instance, nullptr);
        made += child != nullptr;
        for (int label = 0; label < 200; ++label) {
            made += CreateWindowExA(0, "static", "L000", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, child,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + label)), instance,
                                    nullptr) != nullptr;
        }
        for (int item = 0; item < 100; ++item) {
            made += CreateWindowExA(0, "edit", "", WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_AUTOHSCROLL, 0, 0,
                                    0, 0, child, reinterpret_cast<HMENU>(static_cast<INT_PTR>(item)),
                                    instance, nullptr) != nullptr;
        }
    }
    std::printf("%d windows made in %.0f ms\n", made, milliseconds() - started);
    DestroyWindow(top);
    return 0;
}
