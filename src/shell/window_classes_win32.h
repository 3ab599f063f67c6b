#pragma once
#include <windows.h>

#include "shell/class_registration.h"

namespace tavir {

inline constexpr char kEditItemClass[] = "TVREDITITEMCLASS";
inline constexpr char kCheckboxItemClass[] = "TVRCHECKBOXITEMCLASS";
inline constexpr char kChildWindowClass[] = "TVRCHILDCLASS";

// An item class built on a system control class: the base class's procedure, and where the
// item's record is kept in each control (the size of the base class's extra bytes; -1 while the
// class is not registered).
struct ItemClass {
    WNDPROC baseProcedure = nullptr;
    int recordOffset = -1;
};

ItemClass& editItemClass();
ItemClass& checkboxItemClass();

// The program's five window classes with the platform.
class Win32ClassRegistrar : public ClassRegistrar {
public:
    explicit Win32ClassRegistrar(HINSTANCE instance) : instance_(instance) {}
    bool registerClass(WindowClass windowClass) override;
    bool unregisterClass(WindowClass windowClass) override;

private:
    bool registerItemClass(const char* baseName, bool askProgramFirst, const char* name, WNDPROC procedure,
                           ItemClass& itemClass);
    bool registerOwnClass(const char* name, WNDPROC procedure, bool withMenuAndIcon);
    HINSTANCE instance_;
};

}  // namespace tavir
