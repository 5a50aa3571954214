// The Pocket PC shell of the simulated device: notification icons, the shell library's dialog
// and extra-controls initialisation, and the icon handles LoadIconW hands out.
#pragma once

#include <map>
#include <vector>

#include "platform/platform.h"

namespace sim {

struct NotifyIcon {
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0; // NIF_* given so far
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    WString tip;
    int process = 0; // who added it
};

struct ShellDialogInit {
    HWND dialog = nullptr;
    DWORD flags = 0;
};

class Shell {
  public:
    // Shell_NotifyIcon's work; false where the shell refuses (already there, not there).
    bool AddIcon(const NOTIFYICONDATAW& data, int process);
    bool ModifyIcon(const NOTIFYICONDATAW& data);
    bool DeleteIcon(HWND window, UINT id);
    const std::vector<NotifyIcon>& Icons() const { return icons_; }
    const NotifyIcon* FindIcon(HWND window, UINT id) const;
    // The first icon that `process` added, or null.
    const NotifyIcon* IconOf(int process) const;

    // LoadIconW gives one shared handle per icon resource, as for shared icons on Windows.
    HICON IconHandle(WORD resourceId);
    // The icon resource behind a handle; 0 when the handle is not one of them.
    WORD IconResource(HICON icon) const;

    // SHInitDialog calls, oldest first, and SHInitExtraControls calls.
    std::vector<ShellDialogInit> dialogInits;
    int extraControlsInits = 0;
    bool inputPanelUp = false; // SHIDIF_SIPDOWN lowers it

  private:
    static void CopyTip(NotifyIcon& icon, const NOTIFYICONDATAW& data);
    std::vector<NotifyIcon> icons_;
    std::map<WORD, HICON> iconHandles_;
};

} // namespace sim
