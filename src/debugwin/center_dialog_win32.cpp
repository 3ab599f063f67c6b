#include "debugwin/center_dialog_win32.h"

#include "debugwin/center_dialog.h"

namespace tavir {

void CenterDialog(HWND dialog, HWND owner) {
    RECT dialogRect, ownerRect;
    GetWindowRect(dialog, &dialogRect);
    GetWindowRect(owner, &ownerRect);
    HDC dc = GetDC(dialog);
    int screenWidth = GetDeviceCaps(dc, HORZRES);
    int screenHeight = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(dialog, dc);
    ScreenPoint origin = centeredOrigin({ownerRect.left, ownerRect.top, ownerRect.right, ownerRect.bottom},
                                        dialogRect.right - dialogRect.left,
                                        dialogRect.bottom - dialogRect.top, screenWidth, screenHeight);
    SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace tavir
