#include "tools/dump_tool.h"

#include <cstring>

#include "resources/tools_texts.h"

namespace tavir {

bool recognizeDumpEnd(EndMarkerState& s, uint8_t byte) {
    s.byteCount += 1;
    if (byte == 0xFF) {
        s.matchCount += 1;
        s.byteCount = 1;
    }
    bool ended = false;
    if ((byte == 0x0A && s.matchCount == 1) || s.matchCount == 2) {
        ended = true;
        s.matchCount = 0;
    }
    // Any byte between the 0xFF and its follower breaks the marker.
    if (s.byteCount != s.matchCount) s.matchCount = 0;
    return ended;
}

const char* commandStatus(DumpCommand command) {
    switch (command) {
        case DumpCommand::kVerify:
            return text::kDumpVerifySent;
        case DumpCommand::kMake:
            return text::kDumpMakeSent;
        case DumpCommand::kFetch:
            return text::kDumpFetchSent;
        case DumpCommand::kAbort:
            break;
    }
    return text::kDumpAbortSent;
}

void DumpLine::clear() {
    std::memset(text, 0, sizeof text);
    length = 0;
}

void DumpLine::append(uint8_t byte) {
    text[length++] = static_cast<char>(byte);
    if (length == kDumpLineShown + 1) {
        std::memmove(text, text + 1, kDumpLineShown);
        length = kDumpLineShown;
        text[kDumpLineShown] = '\0';
        text[kDumpLineShown + 1] = '\0';
    }
}

void DumpTool::open(DumpView& view, const char* fileName) {
    view_ = &view;
    receivedByteCount_ = 0;
    line_.clear();
    view.showByteCount(0);
    std::lock_guard<std::mutex> lock(fileMutex_);
    file_.open(fileName, FileMode::kTruncate);
}

void DumpTool::close() {
    view_ = nullptr;
    std::lock_guard<std::mutex> lock(fileMutex_);
    file_.close();
}

void DumpTool::chooseFile(const char* fileName) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    file_.open(fileName, FileMode::kTruncate);
}

void DumpTool::watchFile(OutputWatch* watch) {
    std::lock_guard<std::mutex> lock(fileMutex_);
    file_.watch(watch);
}

void DumpTool::sendCommand(DumpCommand command, Transport& transport) {
    DumpView* view = view_.load();
    if (view != nullptr) view->restartNoAnswerTimer();
    const uint8_t byte = static_cast<uint8_t>(command);
    transport.write(&byte, 1);
    if (command == DumpCommand::kVerify) dataDisplayOn_ = true;
    if (view != nullptr) view->showStatus(commandStatus(command));
}

void DumpTool::onNoAnswerTimer() {
    if (DumpView* view = view_.load()) view->showStatus(text::kDumpNoAnswer);
}

void DumpTool::clearStatus() {
    if (DumpView* view = view_.load()) view->showStatus("");
}

void DumpTool::OnDumpByte(uint8_t byte) {
    DumpView* view = view_.load();
    const int32_t count = receivedByteCount_.fetch_add(1) + 1;
    if (view != nullptr) {
        view->showByteCount(count);
        view->stopNoAnswerTimer();
    }

    if (dataDisplayOn_) {
        // Two blanks in a row end the display; the second is not shown.
        if (byte == 0x20 && previousByte_ == 0x20) {
            dataDisplayOn_ = false;
        } else {
            line_.append(byte);
            if (view != nullptr) view->showDataLine(line_.text);
        }
    }

    if (recognizeDumpEnd(endMarker_, byte)) {
        if (view != nullptr) view->showStatus(text::kDumpEnded);
        dataDisplayOn_ = true;
    }

    {
        std::lock_guard<std::mutex> lock(fileMutex_);
        file_.writeByte(byte);
        // The file holds every byte received so far while the dialog stays open.
        file_.flush();
    }
    previousByte_ = byte;
}

}  // namespace tavir
