// Dialog 102, "DPCOM": the memory dump tool in TAVIR.EXE, over the tool dialogs' procedure.
#include <string>

#include "debugwin/center_dialog_win32.h"
#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"
#include "tools/tool_dialog_controls_win32.h"
#include "tools/tool_store_win32.h"

namespace tavir {

namespace {

constexpr int kFileNameCapacity = 260;

struct DumpDialog : OpenToolDialog {
    std::string fileName;
};

DumpDialog& dumpDialog(OpenToolDialog& open) {
    return static_cast<DumpDialog&>(open);
}

void initialise(HWND dialog, OpenToolDialog& open) {
    ToolDialogHost& host = open.host;
    ToolState& tools = host.tools;
    CenterDialog(dialog, host.mainWindow);
    char fileName[kFileNameCapacity];
    host.settings.readString(text::kDumpFileKey, text::kDumpFileDefault, fileName, sizeof fileName);
    dumpDialog(open).fileName = fileName;
    tools.dumpView.attach(dialog);
    tools.dumpTool.open(tools.dumpView, fileName);
    SetDlgItemTextA(dialog, IDC_DUMP_FILE, fileName);
    // The reader hands its bytes to the tool from now on: the sink first, then the flag.
    host.receivePath.dumpSink.store(&tools.dumpTool, std::memory_order_release);
    host.flags.dpcomActive.store(true, std::memory_order_release);
}

void chooseFile(HWND dialog, OpenToolDialog& open) {
    std::string chosen;
    if (!chooseSaveFile(dialog, IDC_DUMP_FILE, text::kDumpSaveAsTitle, text::kDumpFileType,
                        text::kDumpFileExtension, chosen))
        return;
    DumpDialog& data = dumpDialog(open);
    if (chosen == data.fileName) return;
    data.fileName = chosen;
    open.host.tools.dumpTool.chooseFile(chosen.c_str());
    open.host.settings.writeString(text::kDumpFileKey, chosen.c_str());
}

void close(HWND dialog, OpenToolDialog& open) {
    KillTimer(dialog, kNoAnswerTimer);
    closeToolDialog(dialog, open.host, open.host.flags.dpcomActive);
    open.host.tools.dumpView.detach();
    open.host.tools.dumpTool.close();
}

template <DumpCommand command>
void send(HWND, OpenToolDialog& open) {
    open.host.tools.dumpTool.sendCommand(command, open.host.transport);
}

void clearStatus(HWND, OpenToolDialog& open) {
    open.host.tools.dumpTool.clearStatus();
}

// What the reader changed, and the timer of a command without an answer.
bool takeMessage(OpenToolDialog& open, UINT message, WPARAM wParam) {
    if (message == kDumpViewChanged) {
        open.host.tools.dumpView.apply();
        return true;
    }
    if (message == WM_TIMER && wParam == kNoAnswerTimer) {
        open.host.tools.dumpTool.onNoAnswerTimer();
        return true;
    }
    return false;
}

const ToolDialogTable kDumpDialog{IDD_DPCOM,
                                  initialise,
                                  close,
                                  IDC_DUMP_CLOSE,
                                  {{IDC_DUMP_VERIFY, send<DumpCommand::kVerify>},
                                   {IDC_DUMP_MAKE, send<DumpCommand::kMake>},
                                   {IDC_DUMP_FETCH, send<DumpCommand::kFetch>},
                                   {IDC_DUMP_ABORT, send<DumpCommand::kAbort>},
                                   {IDC_DUMP_CLEAR_STATUS, clearStatus},
                                   {IDC_CHOOSE_FILE, chooseFile}},
                                  takeMessage};

}  // namespace

void RunDumpDialog(ToolDialogHost& host) {
    DumpDialog open{{host, kDumpDialog}, {}};
    runToolDialog(open);
}

}  // namespace tavir
