#include "framework/ce_command_bar.h"

#include "framework/app_name.h"
#include "framework/frame_wnd.h"

namespace {
constexpr int kBaseHeight = 26; // pixels on a 320-line screen
constexpr int kBaseScreenHeight = 320;
} // namespace

CCeCommandBar::~CCeCommandBar() {
    // The menu belongs to the bar; the frame only borrows it.
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
}

int CCeCommandBar::HeightForScreen(int screenHeight) {
    return screenHeight <= 0 ? kBaseHeight : kBaseHeight * screenHeight / kBaseScreenHeight;
}

BOOL CCeCommandBar::Create(CWnd* parent, DWORD style, UINT id) {
    if (parent == nullptr || parent->m_hWnd == nullptr)
        return FALSE;
    m_pParent = parent;
    m_dwStyle = style & CBRS_ALL;
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const int height = HeightForScreen(screenHeight);
    const int top = screenHeight - height;
    if (!CreateEx(0, nullptr, nullptr, style & ~CBRS_ALL, 0, top, width, height, parent->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return FALSE;
    // Child positions are relative to the parent's client area, wherever the parent is:
    // shift the bar so that its screen position is the bottom edge.
    RECT placed = {};
    ::GetWindowRect(m_hWnd, &placed);
    if (placed.top != top || placed.left != 0)
        ::MoveWindow(m_hWnd, -placed.left, top + (top - placed.top), width, height, FALSE);
    return TRUE;
}

BOOL CCeCommandBar::InsertMenuBar(UINT menuId) {
    HMENU menu = ::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(menuId));
    if (menu == nullptr)
        return FALSE;
    if (m_hMenu != nullptr)
        ::DestroyMenu(m_hMenu);
    m_hMenu = menu;
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pParent); frame != nullptr)
        frame->SetMenuBar(menu);
    return TRUE;
}

BOOL CCeCommandBar::AddAdornments(DWORD) {
    return m_hWnd != nullptr;
}
