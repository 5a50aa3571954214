// Find-window mode of the settings dialog: Application Button 1 captures the foreground
// window's caption into one of the three list fields.
#include "framework/message_box.h"
#include "ui/capture_list.h"
#include "ui/settings_dlg.h"
#include "ui/window_found_dlg.h"

namespace {

constexpr int kHotKeyId = VK_APP1;
constexpr UINT kHotKeyModifiers = MOD_WIN | MOD_KEYUP;
constexpr UINT_PTR kFindTimer = 1;
constexpr UINT kFindTimerPeriod = 500;

using UnregisterFunc1Proc = BOOL (*)(UINT modifiers, UINT virtualKey);

// A loaded library, freed when the holder goes.
class Library {
  public:
    explicit Library(LPCWSTR name) : module_(::LoadLibraryW(name)) {}
    ~Library() {
        if (module_ != nullptr)
            ::FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE Get() const { return module_; }

  private:
    HMODULE module_;
};

WString CaptionOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return WString();
    WString caption(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, caption.data(), length + 1);
    caption.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return caption;
}

} // namespace

WString& CSettingsDlg::ListByIndex(int index) {
    if (index == 0)
        return OnList;
    if (index == 1)
        return OnRunList;
    return OffList;
}

void CSettingsDlg::GrabAppButton() {
    {
        Library core(TEXT("coredll.dll"));
        FARPROC proc = core.Get() != nullptr
                           ? ::GetProcAddressW(core.Get(), TEXT("UnregisterFunc1"))
                           : nullptr;
        // Without the export the button cannot be taken from its holder; registering may
        // still succeed when nobody holds it.
        if (proc != nullptr) {
            auto release =
                reinterpret_cast<UnregisterFunc1Proc>(reinterpret_cast<void (*)()>(proc));
            release(MOD_WIN, VK_APP1);
        }
        ::RegisterHotKey(m_hWnd, kHotKeyId, kHotKeyModifiers, VK_APP1);
    }
}

void CSettingsDlg::OnFindWindow() {
    AfxMessageBox(TEXT(
        "Launch Application you want to add to On or Off list and press Application Button 1!"));
    GrabAppButton();
    ShowWindow(SW_HIDE);
    UpdateData(TRUE);
    if (FindTimerId == 0)
        FindTimerId = SetTimer(kFindTimer, kFindTimerPeriod, nullptr);
}

void CSettingsDlg::OnFindTimer(UINT_PTR timerId) {
    if (FindBusy != 0 || FindTimerBusy != 0)
        return;
    FindTimerBusy = 1;
    GrabAppButton();
    CDialog::OnTimer(timerId);
    FindTimerBusy = 0;
}

void CSettingsDlg::EndFindMode() {
    if (FindTimerId == 0)
        return;
    KillTimer(FindTimerId);
    FindTimerId = 0;
    ::UnregisterHotKey(m_hWnd, kHotKeyId);
}

LRESULT CSettingsDlg::OnHotKey(WPARAM, LPARAM) {
    if (FindBusy != 0)
        return 0;
    FindBusy = 1;

    // No window in front: nothing to capture; the mode waits for the next press.
    HWND foreground = ::GetForegroundWindow();
    if (foreground == nullptr) {
        FindBusy = 0;
        return 0;
    }

    CWindowFoundDlg found;
    found.ContinueFind = 0;
    found.FoundCaption = CaptionOf(foreground);
    found.ListIndex = LastListIndex;
    found.m_bFullScreen = FALSE;

    INT_PTR result = 0;
    {
        DeleteWatch watch(*this);
        result = found.DoModal();
        if (watch.Deleted())
            return 0;
    }

    if (result == IDOK) {
        WString& list = ListByIndex(found.ListIndex);
        if (!ListCoversCaption(list, found.FoundCaption)) {
            list = AppendCaption(list, found.FoundCaption);
            UpdateData(FALSE);
        }
    }

    if (found.ContinueFind != 0) {
        LastListIndex = found.ListIndex;
        FindBusy = 0;
        return 0;
    }
    KillTimer(FindTimerId);
    FindTimerId = 0;
    ::UnregisterHotKey(m_hWnd, kHotKeyId);
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    FindBusy = 0;
    return 0;
}
