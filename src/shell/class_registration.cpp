#include "shell/class_registration.h"

#include "resources/shell_texts.h"

namespace tavir {

namespace {

void showClassBox(MessageBoxes& boxes, const char* text) {
    boxes.show(text, text::kClassCaption, kBoxOk);
}

}  // namespace

int registerItemClasses(ClassRegistrar& registrar, MessageBoxes& boxes) {
    if (!registrar.registerClass(WindowClass::kEditItem)) {
        showClassBox(boxes, text::kEditItemClassFailed);
        return -1;
    }
    if (!registrar.registerClass(WindowClass::kCheckboxItem)) {
        showClassBox(boxes, text::kCheckItemClassFailed);
        registrar.unregisterClass(WindowClass::kEditItem);
        return -1;
    }
    return 0;
}

int registerChildClass(ClassRegistrar& registrar, MessageBoxes& boxes) {
    if (registerItemClasses(registrar, boxes) != 0) {
        showClassBox(boxes, text::kItemClassFailed);
        showClassBox(boxes, text::kChildClassFailed);
        return -1;
    }
    if (!registrar.registerClass(WindowClass::kChild)) {
        showClassBox(boxes, text::kChildClassFailed);
        registrar.unregisterClass(WindowClass::kEditItem);
        registrar.unregisterClass(WindowClass::kCheckboxItem);
        return -1;
    }
    return 0;
}

int registerWindowClasses(ClassRegistrar& registrar, MessageBoxes& boxes) {
    int result = registerChildClass(registrar, boxes);
    if (result == 0 && !registrar.registerClass(WindowClass::kMessage)) {
        showClassBox(boxes, text::kMessageClassFailed);
        registrar.unregisterClass(WindowClass::kEditItem);
        registrar.unregisterClass(WindowClass::kCheckboxItem);
        registrar.unregisterClass(WindowClass::kChild);
        result = -1;
    }
    if (result == 0 && !registrar.registerClass(WindowClass::kMain)) {
        registrar.unregisterClass(WindowClass::kMessage);
        registrar.unregisterClass(WindowClass::kEditItem);
        registrar.unregisterClass(WindowClass::kCheckboxItem);
        registrar.unregisterClass(WindowClass::kChild);
        result = -1;
    }
    if (result != 0) boxes.show(text::kStartFailed, text::kProgramCaption, kBoxOk);
    return result;
}

void unregisterWindowClasses(ClassRegistrar& registrar) {
    if (!registrar.unregisterClass(WindowClass::kMain)) return;
    registrar.unregisterClass(WindowClass::kMessage);
    registrar.unregisterClass(WindowClass::kEditItem);
    registrar.unregisterClass(WindowClass::kCheckboxItem);
    registrar.unregisterClass(WindowClass::kChild);
}

}  // namespace tavir
