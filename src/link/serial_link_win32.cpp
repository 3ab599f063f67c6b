#include "link/serial_link_win32.h"

#include "link/reader_win32.h"
#include "resources/link_texts.h"

namespace tavir {

namespace {

void showLinkBox(MessageBoxes& boxes, const char* text) {
    boxes.show(text, text::kLinkCaption, kBoxOk);
}

COMMTIMEOUTS toPlatform(const SerialTimeouts& t) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = t.readIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = t.readTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = t.readTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = t.writeTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = t.writeTotalTimeoutConstant;
    return timeouts;
}

SerialTimeouts fromPlatform(const COMMTIMEOUTS& t) {
    return {t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant,
            t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant};
}

}  // namespace

HANDLE OpenSerialLink(SerialLink& link, ProgramLink& program, MessageBoxes& boxes) {
    HANDLE port = CreateFileA(link.settings.portName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_WRITE_THROUGH, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        showLinkBox(boxes, text::kPortNotOpened);
        return INVALID_HANDLE_VALUE;
    }
    link.portHandle = port;

    COMMTIMEOUTS saved{};
    if (GetCommTimeouts(port, &saved)) {
        link.settings.savedTimeouts = fromPlatform(saved);
    } else {
        showLinkBox(boxes, text::kGetTimeoutsFailed);
    }
    COMMTIMEOUTS timeouts = toPlatform(link.settings.timeouts);
    if (!SetCommTimeouts(port, &timeouts)) showLinkBox(boxes, text::kSetTimeoutsFailed);
    ApplySerialSettings(port, link.settings, boxes);
    SetupComm(port, 2048, 1024);
    if (!EscapeCommFunction(port, SETDTR)) showLinkBox(boxes, text::kRaiseDtrFailed);
    // Open from here on, so that a reader that cannot be started closes the port again; the
    // debugger then has no link and does not start.
    link.portOpen = 1;
    if (StartSerialReader(link, program, boxes) != 0) return INVALID_HANDLE_VALUE;
    return port;
}

void ApplySerialSettings(HANDLE port, const SerialSettings& settings, MessageBoxes& boxes) {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!GetCommState(port, &dcb)) showLinkBox(boxes, text::kGetCommStateFailed);
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = settings.parity;
    dcb.StopBits = settings.stopBits;
    dcb.XonChar = settings.xonChar;
    dcb.XoffChar = settings.xoffChar;
    dcb.XonLim = settings.xonLimit;
    dcb.XoffLim = settings.xoffLimit;
    dcb.EvtChar = eventCharacter(settings);
    dcb.fDtrControl = settings.dtrControl & 3u;
    dcb.fRtsControl = settings.rtsControl & 3u;
    dcb.fOutxCtsFlow = settings.ctsOutFlow & 1u;
    dcb.fOutxDsrFlow = settings.dsrOutFlow & 1u;
    dcb.fDsrSensitivity = settings.dsrSensitivity & 1u;
    dcb.fOutX = settings.xonXoffOut & 1u;
    dcb.fInX = settings.xonXoffIn & 1u;
    dcb.fTXContinueOnXoff = settings.txContinueOnXoff & 1u;
    dcb.fParity = 1;
    if (!SetCommState(port, &dcb)) showLinkBox(boxes, text::kSetCommStateFailed);
    COMMTIMEOUTS timeouts = toPlatform(settings.timeouts);
    if (!SetCommTimeouts(port, &timeouts)) showLinkBox(boxes, text::kApplyTimeoutsFailed);
}

int CloseSerialLink(SerialLink& link, MessageBoxes& boxes) {
    if (link.portOpen == 0) return 0;
    link.portOpen = 0;
    HANDLE port = link.portHandle;
    if (!EscapeCommFunction(port, CLRDTR)) showLinkBox(boxes, text::kLowerDtrFailed);
    COMMTIMEOUTS saved = toPlatform(link.settings.savedTimeouts);
    if (!SetCommTimeouts(port, &saved)) showLinkBox(boxes, text::kRestoreTimeoutsFailed);
    if (!PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        showLinkBox(boxes, text::kPurgeFailed);
    }
    CloseHandle(port);
    if (link.readerThread != nullptr) CloseHandle(link.readerThread);
    link.portHandle = INVALID_HANDLE_VALUE;
    link.readerThread = nullptr;
    return 1;
}

void SerialTransport::write(const uint8_t* bytes, size_t count) {
    DWORD written = 0;
    WriteFile(link_.portHandle, bytes, static_cast<DWORD>(count), &written, nullptr);
}

}  // namespace tavir
