#pragma once
#include <windows.h>

#include "shell/class_registration.h"

namespace tavir {

// The program's five window classes with the platform.
class Win32ClassRegistrar : public ClassRegistrar {
public:
    explicit Win32ClassRegistrar(HINSTANCE instance) : instance_(instance) {}
    bool registerClass(WindowClass windowClass) override;
    bool unregisterClass(WindowClass windowClass) override;

private:
    bool registerOwnClass(const char* name, WNDPROC procedure, bool withMenuAndIcon);
    HINSTANCE instance_;
};

}  // namespace tavir
