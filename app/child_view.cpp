#include "app/child_view.h"

#include "framework/wnd_class.h"

// clang-format off
BEGIN_MESSAGE_MAP(CChildView, CWnd)
    on::Paint<&CChildView::OnPaint>(),
END_MESSAGE_MAP();
// clang-format on

BOOL CChildView::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~static_cast<LONG>(WS_BORDER);
    // The system window colour, in the class-brush form (colour index + 1).
    return UseRegisteredClass(
        cs, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                                reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                                nullptr));
}

void CChildView::OnPaint() {
    PAINTSTRUCT paint = {};
    ::BeginPaint(m_hWnd, &paint);
    ::EndPaint(m_hWnd, &paint);
}
