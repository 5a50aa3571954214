#include "framework/wnd.h"

#include <utility>

#include "framework/app_name.h"
#include "framework/win_app.h"
#include "framework/wnd_class.h"

CWnd::~CWnd() {
    if (m_deleted != nullptr)
        *m_deleted = true;
    if (m_hWnd != nullptr) {
        // The object is going away before its window: unbind first so that the messages of
        // the destruction no longer reach a half-destroyed object.
        HWND window = m_hWnd;
        Detach();
        ::DestroyWindow(window);
    }
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Detach() {
    if (m_hWnd != nullptr &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId) {
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = static_cast<CWnd*>(this);
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND window = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                    static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                    cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    return window != nullptr ? TRUE : FALSE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (cs.lpszClass != nullptr)
        return TRUE;
    return UseRegisteredClass(cs, AfxRegisterWndClass(0));
}

BOOL CWnd::UseRegisteredClass(CREATESTRUCTW& cs, WString className) {
    m_className = std::move(className);
    if (m_className.empty())
        return FALSE;
    cs.lpszClass = m_className.c_str();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::ShowWindow(int command) {
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::UpdateWindow() {
    return ::UpdateWindow(m_hWnd);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
    return ::SetTimer(m_hWnd, id, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}

HWND CWnd::SetFocus() {
    return ::SetFocus(m_hWnd);
}

BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    RECT self = {};
    ::GetWindowRect(m_hWnd, &self);
    HWND around = alternateOwner != nullptr ? alternateOwner->m_hWnd : ::GetParent(m_hWnd);
    if (around == nullptr)
        around = ::GetWindow(m_hWnd, GW_OWNER);
    RECT area = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    // A hidden owner (the program's frame is never shown) gives no useful centre.
    if (around != nullptr && ::IsWindowVisible(around))
        ::GetWindowRect(around, &area);
    const LONG width = self.right - self.left;
    const LONG height = self.bottom - self.top;
    const LONG x = area.left + (area.right - area.left - width) / 2;
    const LONG y = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    const MsgMapEntry* entry = FindEntry(message, 0, 0);
    if (entry == nullptr)
        return FALSE;
    *result = entry->handler(*this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), static_cast<int>(HIWORD(wParam)));
}

LRESULT CWnd::Default() {
    if (!m_current.valid || m_hWnd == nullptr)
        return 0;
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

int CWnd::OnCreate(LPCREATESTRUCTW) {
    return static_cast<int>(Default());
}

void CWnd::OnSetFocus(HWND) {
    Default();
}

void CWnd::OnTimer(UINT_PTR) {
    Default();
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    // A handler can delete this object (Exit closes and deletes the frame from inside its own
    // WM_COMMAND): then touch nothing of it.
    if (!HandleAsCurrent(message, wParam, lParam,
                         [&] { result = WindowProc(message, wParam, lParam); }))
        return result;
    if (message == WM_NCDESTROY)
        FinishNcDestroy();
    return result;
}

void CWnd::FinishNcDestroy() {
    Detach();
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this) {
        // The main window is gone: the program ends when its message loop sees WM_QUIT.
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    PostNcDestroy();
}

LRESULT CALLBACK CWnd::WindowProcTrampoline(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (wnd == nullptr && message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        wnd = cs != nullptr ? static_cast<CWnd*>(cs->lpCreateParams) : nullptr;
        if (wnd != nullptr)
            wnd->Attach(window);
    }
    if (wnd == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}
