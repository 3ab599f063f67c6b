#pragma once
// The dump dialog's view of the dump tool: what the reader thread shows, handed to the dialog.
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "tools/dump_tool.h"

namespace tavir {

// Posted to the dump dialog when the reader has changed what it shows.
constexpr UINT kDumpViewChanged = WM_APP + 40;
// The dump dialog's timer of a command without an answer.
constexpr UINT_PTR kNoAnswerTimer = 0;
constexpr UINT kNoAnswerPeriodMs = 10000;

// The dialog's side of the dump tool. The reader thread must never wait for the dialog's thread,
// which may itself be waiting (in a modal save-as dialog, say), and a timer can only be set by the
// thread of its window: so what the reader shows is kept here and the dialog is told with a posted
// message to take it. The dialog's own thread takes it at once. Lives as long as the link, in the tools'
// shared state.
class DumpDialogView : public DumpView {
public:
    void attach(HWND dialog) {
        std::lock_guard<std::mutex> lock(mutex_);
        dialog_ = dialog;
        thread_ = GetCurrentThreadId();
        pending_ = Pending{};
    }
    void detach() {
        std::lock_guard<std::mutex> lock(mutex_);
        dialog_ = nullptr;
    }

    void showByteCount(int32_t count) override {
        change([count](Pending& p) {
            p.count = count;
            p.countChanged = true;
        });
    }
    void showDataLine(const char* text) override {
        std::string line(text);
        change([&line](Pending& p) {
            p.dataLine = line;
            p.dataLineChanged = true;
        });
    }
    void showStatus(const char* text) override {
        std::string status(text);
        change([&status](Pending& p) {
            p.status = status;
            p.statusChanged = true;
        });
    }
    void restartNoAnswerTimer() override {
        change([](Pending& p) { p.timer = TimerAction::kRestart; });
    }
    void stopNoAnswerTimer() override {
        change([](Pending& p) { p.timer = TimerAction::kStop; });
    }

    // The dialog's thread: shows what changed since the last time.
    void apply();

private:
    enum class TimerAction { kNone, kRestart, kStop };
    struct Pending {
        int32_t count = 0;
        bool countChanged = false;
        std::string dataLine;
        bool dataLineChanged = false;
        std::string status;
        bool statusChanged = false;
        TimerAction timer = TimerAction::kNone;  // the last one asked for wins
        bool posted = false;
    };

    template <class Change>
    void change(Change changePending) {
        HWND dialog;
        bool post = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (dialog_ == nullptr) return;
            changePending(pending_);
            dialog = dialog_;
            if (GetCurrentThreadId() != thread_ && !pending_.posted) post = pending_.posted = true;
        }
        if (GetCurrentThreadId() == thread_) {
            apply();
        } else if (post) {
            PostMessageA(dialog, kDumpViewChanged, 0, 0);
        }
    }

    std::mutex mutex_;
    HWND dialog_ = nullptr;
    DWORD thread_ = 0;
    Pending pending_;
};

}  // namespace tavir
