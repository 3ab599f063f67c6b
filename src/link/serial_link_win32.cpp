#include "link/serial_link_win32.h"

#include "link/reader_win32.h"
#include "resources/link_texts.h"

namespace tavir {

namespace {

// The message of each step, in the order of SerialStep.
constexpr const char* kStepTexts[] = {
    text::kPortNotOpened,      text::kGetTimeoutsFailed,     text::kSetTimeoutsFailed,
    text::kGetCommStateFailed, text::kSetCommStateFailed,    text::kApplyTimeoutsFailed,
    text::kRaiseDtrFailed,     text::kModemStatusFailed,     text::kClearCommErrorFailed,
    text::kLowerDtrFailed,     text::kRestoreTimeoutsFailed, text::kPurgeFailed,
};
static_assert(sizeof kStepTexts / sizeof kStepTexts[0] == static_cast<size_t>(SerialStep::kPurge) + 1);

}  // namespace

void SerialStepBoxes::failed(SerialStep step) {
    boxes_.show(kStepTexts[static_cast<size_t>(step)], text::kLinkCaption, kBoxOk);
}

HANDLE OpenSerialLink(SerialLink& link, ProgramLink& program, MessageBoxes& boxes) {
    SerialStepBoxes steps(boxes);
    if (link.port.open(link.settings.portName, link.settings, steps) != 0) return INVALID_HANDLE_VALUE;
    // Open from here on, so that a reader that cannot be started closes the port again; the
    // debugger then has no link and does not start.
    link.portOpen = 1;
    if (StartSerialReader(link, program, boxes) != 0) return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(link.port.handle());
}

int CloseSerialLink(SerialLink& link, MessageBoxes& boxes) {
    if (link.portOpen == 0) return 0;
    link.portOpen = 0;
    SerialStepBoxes steps(boxes);
    link.port.close(link.settings.savedTimeouts, steps);
    if (link.readerThread != nullptr) CloseHandle(link.readerThread);
    link.readerThread = nullptr;
    return 1;
}

}  // namespace tavir
