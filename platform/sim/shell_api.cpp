// The shell's notification icons and the Pocket PC shell library's initialisation calls.
#include "platform/platform.h"
#include "platform/sim/device.h"
#include "platform/sim/window_ops.h"

using sim::Dev;

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data) {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    if (device.faults.notifyIcon) {
        device.SetLastErrorValue(ERROR_NOT_ENOUGH_MEMORY);
    } else if (data == nullptr || !device.windows.Exists(data->hWnd)) {
        device.SetLastErrorValue(data == nullptr ? ERROR_INVALID_PARAMETER
                                                 : ERROR_INVALID_WINDOW_HANDLE);
    } else if (message == NIM_ADD) {
        result = device.shell.AddIcon(*data, device.CurrentProcess()) ? TRUE : FALSE;
    } else if (message == NIM_MODIFY) {
        result = device.shell.ModifyIcon(*data) ? TRUE : FALSE;
    } else if (message == NIM_DELETE) {
        result = device.shell.DeleteIcon(data->hWnd, data->uID) ? TRUE : FALSE;
    } else {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    }
    if (data == nullptr)
        device.trace.Call("Shell_NotifyIcon", result, message, nullptr);
    else
        device.trace.Call("Shell_NotifyIcon", result, message, static_cast<const void*>(data->hWnd),
                          data->uID, data->uFlags, sim::MessageArg{data->uCallbackMessage},
                          static_cast<const void*>(data->hIcon));
    return result;
}

BOOL SHInitExtraControls() {
    sim::Device& device = Dev();
    sim::Controls::RegisterExtraControls();
    ++device.shell.extraControlsInits;
    device.trace.Call("SHInitExtraControls", TRUE);
    return TRUE;
}

BOOL SHInitDialog(PSHINITDLGINFO info) {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    sim::DialogRecord* record = info == nullptr ? nullptr : device.dialogs.Find(info->hDlg);
    if (info == nullptr || !device.windows.Exists(info->hDlg)) {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else {
        const DWORD flags = (info->dwMask & SHIDIM_FLAGS) != 0 ? info->dwFlags : 0;
        device.shell.dialogInits.push_back(sim::ShellDialogInit{info->hDlg, flags});
        if (record != nullptr) {
            record->shellInit = true;
            record->shellFlags = flags;
            if ((flags & SHIDIF_DONEBUTTON) != 0)
                record->captionOk = true;
        }
        // Full screen: the whole screen below the taskbar; otherwise above the menu bar.
        const sim::WindowManager& wm = device.windows;
        if ((flags & SHIDIF_SIZEDLGFULLSCREEN) != 0)
            sim::PlaceWindow(
                info->hDlg, RECT{0, wm.TaskbarHeight(), wm.ScreenWidth(), wm.ScreenHeight()}, true);
        else if ((flags & SHIDIF_SIZEDLG) != 0)
            sim::PlaceWindow(info->hDlg, wm.DefaultTopLevelRect(), true);
        if ((flags & SHIDIF_SIPDOWN) != 0)
            device.shell.inputPanelUp = false;
        result = TRUE;
    }
    if (info == nullptr)
        device.trace.Call("SHInitDialog", result, nullptr);
    else
        device.trace.Call("SHInitDialog", result, static_cast<const void*>(info->hDlg),
                          info->dwMask, info->dwFlags);
    return result;
}
