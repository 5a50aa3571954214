#include "app/main_frame.h"

#include "app/child_view.h"
#include "framework/app_name.h"
#include "framework/ce_command_bar.h"
#include "framework/wnd_class.h"
#include "res/resource_ids.h"

namespace {
constexpr UINT_PTR kCheckTimer = 1;
constexpr UINT kDefaultCheckInterval = 1500;
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD kCommandBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD kExtraBarStyles = CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_FIXED;
// A command bar whose top edge lies below this line is on a high-resolution screen.
constexpr LONG kLowResolutionBarTop = 320;
constexpr UINT kPopupFlags = TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL;
} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    on::Create<&CMainFrame::OnCreate>(),
    on::SetFocus<&CMainFrame::OnSetFocus>(),
    on::Timer<&CMainFrame::MonitorTick>(),
    on::Command<&CMainFrame::OnSettings>(ID_SETTINGS),
    on::Message<&CMainFrame::OnTrayNotify>(WM_TRAYNOTIFY),
END_MESSAGE_MAP();
// clang-format on

CMainFrame::CMainFrame(CSettingsStore& store) : Store(store) {}

CMainFrame::~CMainFrame() {
    // cbSize is set only once the icon has been added.
    if (IconData.cbSize != 0)
        ::Shell_NotifyIcon(NIM_DELETE, &IconData);
    delete View;
    View = nullptr;
    delete CommandBar;
    CommandBar = nullptr;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    return UseRegisteredClass(cs, AfxRegisterWndClass(0, nullptr, nullptr, nullptr));
}

BOOL CMainFrame::OnCmdMsg(UINT id, int code) {
    if (View != nullptr && View->OnCmdMsg(id, code))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id, code);
}

void CMainFrame::OnSetFocus(HWND) {
    if (View != nullptr && View->m_hWnd != nullptr)
        View->SetFocus();
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs) {
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;

    View = new CChildView;
    if (!View->Create(nullptr, nullptr, kViewStyle, RECT{0, 0, 0, 0}, this, AFX_IDW_PANE_FIRST))
        return -1;

    CommandBar = new CCeCommandBar;
    if (!CommandBar->Create(this, kCommandBarStyle, AFX_IDW_TOOLBAR))
        return -1;
    if (!CommandBar->InsertMenuBar(IDR_MAINFRAME))
        return -1;
    if (!CommandBar->AddAdornments(0))
        return -1;
    CommandBar->SetBarStyle(CommandBar->GetBarStyle() | kExtraBarStyles);

    LoadSettings();

    // SetTimer takes an unsigned period: 0 would fire as fast as the platform allows (a busy
    // processor) and a negative number would turn into a period of weeks (no switching). Such
    // a CheckInterval stays as parsed, but the timer then runs at the default period.
    const UINT period =
        CheckInterval > 0 ? static_cast<UINT>(CheckInterval) : kDefaultCheckInterval;
    SetTimer(kCheckTimer, period, nullptr);

    RECT bar = {};
    CommandBar->GetWindowRect(&bar);
    const WORD iconId = bar.top <= kLowResolutionBarTop ? IDI_NOTIFY_LOWRES : IDI_NOTIFY_HIGHRES;
    HICON icon = ::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(iconId));

    // The record's size is the platform's own: 152 bytes in the device's 32-bit
    // NOTIFYICONDATA, other sizes in other builds; Shell_NotifyIcon checks it against the
    // record it knows, so it must come from sizeof, not a constant.
    IconData.cbSize = sizeof(NOTIFYICONDATA);
    IconData.hWnd = m_hWnd;
    IconData.uID = TrayIconId;
    IconData.uFlags = NIF_MESSAGE | NIF_ICON;
    IconData.uCallbackMessage = WM_TRAYNOTIFY;
    IconData.hIcon = icon;
    ::Shell_NotifyIcon(NIM_ADD, &IconData);
    return 0;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != TrayIconId || lParam != WM_LBUTTONDOWN || MenuOpen != 0)
        return 0;
    MenuOpen = 1;
    HMENU popup = ::GetSubMenu(GetMenu(), 0);
    RECT bar = {};
    if (CommandBar != nullptr)
        CommandBar->GetWindowRect(&bar);
    if (popup != nullptr) {
        DeleteWatch watch(*this);
        ::TrackPopupMenuEx(popup, kPopupFlags, bar.right, bar.top, m_hWnd, nullptr);
        if (watch.Deleted()) // the popup's loop ran whatever deleted the frame
            return 0;
    }
    MenuOpen = 0;
    return 0;
}
