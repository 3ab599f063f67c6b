#pragma once
// The memory dump tool: single command bytes to the controller's dump facility, and every byte
// that comes back counted, shown in the data line and stored in the dump file.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "link/reader_route.h"
#include "link/transport.h"
#include "tools/text_output_file.h"

namespace tavir {

enum class DumpCommand : uint8_t {
    kVerify = 0x56,  // V: check the connection
    kMake = 0x4D,    // M: make a dump
    kFetch = 0x4F,   // O: fetch the dump
    kAbort = 0x41,   // A: abort the fetch
};

// The status text shown after a command was sent.
const char* commandStatus(DumpCommand command);

// The dialog's controls and its no-answer timer. The byte count, the data line and the status
// are set from the link's reader thread while bytes arrive; an implementation must not wait
// there for the user-interface thread while that thread may be waiting for the tool. A byte that
// was being handed on when the dialog closed may still reach the view, so the view object lives
// as long as the link does.
class DumpView {
public:
    virtual ~DumpView() = default;
    virtual void showByteCount(int32_t count) = 0;
    virtual void showDataLine(const char* text) = 0;
    virtual void showStatus(const char* text) = 0;
    // The 10-second timer that shows "Geen reactie" (onNoAnswerTimer) until a byte arrives.
    virtual void restartNoAnswerTimer() = 0;
    virtual void stopNoAnswerTimer() = 0;
};

// The end-of-dump recognizer: 0xFF followed directly by 0x0A or by a second 0xFF ends a dump.
struct EndMarkerState {
    int matchCount = 0;
    int byteCount = 0;
};

// Gives true when byte ends a dump.
bool recognizeDumpEnd(EndMarkerState& state, uint8_t byte);

constexpr int kDumpLineCapacity = 100;
constexpr int kDumpLineShown = 98;  // the most recent bytes kept in the data line

// The data line: the most recent received bytes, at most 98, as a zero-terminated text (so the
// text shown ends at a received zero byte).
struct DumpLine {
    char text[kDumpLineCapacity] = {};
    int length = 0;

    void clear();
    void append(uint8_t byte);
};

// One for the whole program: the data display switch, the previous byte and the end-of-dump
// recognizer keep their state from one opening of the dialog to the next.
class DumpTool : public DumpByteSink {
public:
    // Dialog initialisation, before dpcomActive is set: the count and the data line start afresh
    // and the dump file is opened, truncated. A file that cannot be opened is not reported: bytes
    // are then counted and shown but not stored.
    void open(DumpView& view, const char* fileName);
    // Close, after dpcomActive is cleared.
    void close();
    // Another dump file was chosen: the current one is closed, the chosen one truncated.
    void chooseFile(const char* fileName);
    // The dump files' writes are watched from now on (tavir-cli reports a full disk).
    void watchFile(OutputWatch* watch);

    // A command button: restarts the no-answer timer, writes the single byte to the transport
    // (no frame), then shows the button's status text. Verify also switches the data display on.
    void sendCommand(DumpCommand command, Transport& transport);
    // The no-answer timer fired.
    void onNoAnswerTimer();
    // "&Schoonmaken statusregel".
    void clearStatus();

    // Reader thread, for every byte received while dpcomActive is set.
    void OnDumpByte(uint8_t byte) override;

    int32_t receivedByteCount() const { return receivedByteCount_.load(); }
    bool dataDisplayOn() const { return dataDisplayOn_.load(); }

private:
    std::atomic<DumpView*> view_{nullptr};
    std::atomic<int32_t> receivedByteCount_{0};
    std::atomic<bool> dataDisplayOn_{false};
    DumpLine line_;  // reader thread, and open while no byte is delivered
    uint8_t previousByte_ = 0;
    EndMarkerState endMarker_;
    std::mutex fileMutex_;  // the file is swapped by the dialog while the reader may write
    TextOutputFile file_;
};

}  // namespace tavir
