#include "framework/safe_owner.h"

#include "framework/win_app.h"
#include "framework/wnd.h"

SafeOwner::SafeOwner(const CWnd* given) {
    if (given != nullptr) {
        owner_ = given->m_hWnd;
        return;
    }
    const CWinApp* app = AfxGetApp();
    const HWND main =
        app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
    if (main == nullptr || !::IsWindow(main))
        return;
    owner_ = ::GetLastActivePopup(main);
    if (owner_ != main && ::IsWindowEnabled(main)) {
        disabledTop_ = main;
        ::EnableWindow(main, FALSE);
    }
}

SafeOwner::~SafeOwner() {
    if (disabledTop_ != nullptr)
        ::EnableWindow(disabledTop_, TRUE);
}
