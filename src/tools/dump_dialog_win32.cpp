// Dialog 102, "DPCOM": the memory dump tool in TAVIR.EXE.
#include <cstdio>
#include <mutex>
#include <string>

#include "debugwin/center_dialog_win32.h"
#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"
#include "tools/dump_tool.h"
#include "tools/tool_dialog_controls_win32.h"
#include "tools/tool_dialogs_win32.h"
#include "tools/tool_store_win32.h"

namespace tavir {

namespace {

constexpr UINT kDumpViewChanged = WM_APP + 40;
constexpr UINT_PTR kNoAnswerTimer = 0;
constexpr UINT kNoAnswerPeriodMs = 10000;
constexpr int kFileNameCapacity = 260;

// The dialog's side of the dump tool. The reader thread must never wait for the dialog's thread,
// which may itself be waiting (in a modal save-as dialog, say), and a timer can only be set by the
// thread of its window: so what the reader shows is kept here and the dialog is told with a posted
// message to take it. The dialog's own thread takes it at once. Lives as long as the link.
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
    void apply() {
        Pending taken;
        HWND dialog;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            taken = pending_;
            pending_ = Pending{};
            dialog = dialog_;
        }
        if (dialog == nullptr) return;
        if (taken.countChanged) {
            char digits[16];
            std::snprintf(digits, sizeof digits, text::kDumpCountFormat, static_cast<int>(taken.count));
            SetDlgItemTextA(dialog, IDC_DUMP_COUNT, digits);
        }
        if (taken.dataLineChanged) SetDlgItemTextA(dialog, IDC_DUMP_DATA, taken.dataLine.c_str());
        if (taken.statusChanged) SetDlgItemTextA(dialog, IDC_DUMP_STATUS, taken.status.c_str());
        if (taken.timer == TimerAction::kRestart)
            SetTimer(dialog, kNoAnswerTimer, kNoAnswerPeriodMs, nullptr);
        if (taken.timer == TimerAction::kStop) KillTimer(dialog, kNoAnswerTimer);
    }

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

DumpTool& programDumpTool() {
    static DumpTool tool;
    return tool;
}

DumpDialogView& programDumpView() {
    static DumpDialogView view;
    return view;
}

struct DumpDialog {
    ToolDialogHost& host;
    std::string fileName;
};

DumpDialog* dialogData(HWND dialog) {
    return reinterpret_cast<DumpDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void initialise(HWND dialog, DumpDialog& data) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&data));
    CenterDialog(dialog, data.host.mainWindow);
    char fileName[kFileNameCapacity];
    data.host.settings.readString(text::kDumpFileKey, text::kDumpFileDefault, fileName, sizeof fileName);
    data.fileName = fileName;
    programDumpView().attach(dialog);
    programDumpTool().open(programDumpView(), fileName);
    SetDlgItemTextA(dialog, IDC_DUMP_FILE, fileName);
    // The reader hands its bytes to the tool from now on: the sink first, then the flag.
    data.host.receivePath.dumpSink.store(&programDumpTool(), std::memory_order_release);
    data.host.flags.dpcomActive.store(true, std::memory_order_release);
}

void chooseFile(HWND dialog, DumpDialog& data) {
    std::string chosen;
    if (!chooseSaveFile(dialog, IDC_DUMP_FILE, text::kDumpSaveAsTitle, text::kDumpFileType,
                        text::kDumpFileExtension, chosen))
        return;
    if (chosen == data.fileName) return;
    data.fileName = chosen;
    programDumpTool().chooseFile(chosen.c_str());
    data.host.settings.writeString(text::kDumpFileKey, chosen.c_str());
}

void close(HWND dialog, DumpDialog& data) {
    KillTimer(dialog, kNoAnswerTimer);
    closeToolDialog(dialog, data.host, data.host.flags.dpcomActive);
    programDumpView().detach();
    programDumpTool().close();
}

void send(DumpDialog& data, DumpCommand command) {
    programDumpTool().sendCommand(command, data.host.transport);
}

INT_PTR CALLBACK dumpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialise(dialog, *reinterpret_cast<DumpDialog*>(lParam));
        return TRUE;
    }
    DumpDialog* data = dialogData(dialog);
    if (data == nullptr) return FALSE;
    if (message == kDumpViewChanged) {
        programDumpView().apply();
        return TRUE;
    }
    if (message == WM_TIMER && wParam == kNoAnswerTimer) {
        programDumpTool().onNoAnswerTimer();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDC_DUMP_VERIFY:
            send(*data, DumpCommand::kVerify);
            return TRUE;
        case IDC_DUMP_MAKE:
            send(*data, DumpCommand::kMake);
            return TRUE;
        case IDC_DUMP_FETCH:
            send(*data, DumpCommand::kFetch);
            return TRUE;
        case IDC_DUMP_ABORT:
            send(*data, DumpCommand::kAbort);
            return TRUE;
        case IDC_DUMP_CLEAR_STATUS:
            programDumpTool().clearStatus();
            return TRUE;
        case IDC_CHOOSE_FILE:
            chooseFile(dialog, *data);
            return TRUE;
        case IDC_DUMP_CLOSE:
        case IDOK:
        case IDCANCEL:
            close(dialog, *data);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RunDumpDialog(ToolDialogHost& host) {
    DumpDialog data{host, {}};
    runToolDialog(host, IDD_DPCOM, dumpProc, &data);
}

}  // namespace tavir
