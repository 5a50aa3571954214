#include "framework/message_box.h"

#include "framework/app_name.h"
#include "framework/safe_owner.h"
#include "framework/wnd.h"

namespace {
constexpr UINT kTypeMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;
constexpr UINT kIconQuestion = 0x00000020;
} // namespace

int AfxMessageBox(LPCWSTR text, UINT type, CWnd* owner) {
    if ((type & kIconMask) == 0) {
        // Buttons that ask a question get the question mark, the others the exclamation mark.
        const UINT buttons = type & kTypeMask;
        type |= buttons == 3 || buttons == 4 ? kIconQuestion : MB_ICONEXCLAMATION;
    }
    type |= MB_SETFOREGROUND;
    const WString caption = AfxAppName();
    // MessageBoxW disables its owner while the box is up and enables it again after.
    const SafeOwner safeOwner(owner);
    return ::MessageBoxW(safeOwner.Get(), text != nullptr ? text : TEXT(""), caption.c_str(), type);
}
