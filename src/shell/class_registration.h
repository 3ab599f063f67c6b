#pragma once
#include "base/message_boxes.h"

namespace tavir {

// The program's window classes, in the order the start-up registers them.
enum class WindowClass { kEditItem, kCheckboxItem, kChild, kMessage, kMain };

// Registers and unregisters one class with the platform; the Win32 side fills in the class
// descriptions, the tests record the calls.
class ClassRegistrar {
public:
    virtual ~ClassRegistrar() = default;
    virtual bool registerClass(WindowClass windowClass) = 0;
    virtual bool unregisterClass(WindowClass windowClass) = 0;
};

// The item classes, edit first: 0, or -1 after the failing class's message (a registered edit
// class is unregistered again when the checkbox class fails).
int registerItemClasses(ClassRegistrar& registrar, MessageBoxes& boxes);

// The child class with the item classes before it: 0, or -1 after its messages.
int registerChildClass(ClassRegistrar& registrar, MessageBoxes& boxes);

// All five classes in order: 0, or -1 after the failing class's messages, with the classes that
// were registered before it unregistered again and the start-up failure shown.
int registerWindowClasses(ClassRegistrar& registrar, MessageBoxes& boxes);

// Unregisters in the shutdown order: main, message, edit item, checkbox item, child. When the
// main class cannot be unregistered the others stay registered.
void unregisterWindowClasses(ClassRegistrar& registrar);

}  // namespace tavir
