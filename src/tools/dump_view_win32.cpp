#include "tools/dump_view_win32.h"

#include <cstdio>

#include "resources/tavir_rc.h"
#include "resources/tools_texts.h"

namespace tavir {

void DumpDialogView::apply() {
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
    if (taken.timer == TimerAction::kRestart) SetTimer(dialog, kNoAnswerTimer, kNoAnswerPeriodMs, nullptr);
    if (taken.timer == TimerAction::kStop) KillTimer(dialog, kNoAnswerTimer);
}

}  // namespace tavir
