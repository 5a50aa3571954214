#include "platform/sim/shell.h"

#include <algorithm>

namespace sim {

namespace {

// The size of the record as a 32-bit Windows CE program fills it: up to the end of szTip.
constexpr DWORD kDeviceRecordSize = 152;

bool HasTip(const NOTIFYICONDATAW& data) {
    return data.cbSize >= kDeviceRecordSize || data.cbSize >= sizeof(NOTIFYICONDATAW);
}

} // namespace

void Shell::CopyTip(NotifyIcon& icon, const NOTIFYICONDATAW& data) {
    // The tip is read only up to its NUL or the end of its 64 units, never past the record.
    const WCHAR* tip = data.szTip;
    std::size_t length = 0;
    while (length < std::size(data.szTip) && tip[length] != 0)
        ++length;
    icon.tip.assign(tip, length);
}

bool Shell::AddIcon(const NOTIFYICONDATAW& data, int process) {
    if (FindIcon(data.hWnd, data.uID) != nullptr)
        return false;
    NotifyIcon icon;
    icon.window = data.hWnd;
    icon.id = data.uID;
    icon.process = process;
    icons_.push_back(icon);
    return ModifyIcon(data);
}

bool Shell::ModifyIcon(const NOTIFYICONDATAW& data) {
    auto it = std::find_if(icons_.begin(), icons_.end(), [&](const NotifyIcon& icon) {
        return icon.window == data.hWnd && icon.id == data.uID;
    });
    if (it == icons_.end())
        return false;
    if ((data.uFlags & NIF_MESSAGE) != 0)
        it->callbackMessage = data.uCallbackMessage;
    if ((data.uFlags & NIF_ICON) != 0)
        it->icon = data.hIcon;
    if ((data.uFlags & NIF_TIP) != 0 && HasTip(data))
        CopyTip(*it, data);
    it->flags |= data.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
    return true;
}

bool Shell::DeleteIcon(HWND window, UINT id) {
    auto it = std::find_if(icons_.begin(), icons_.end(), [&](const NotifyIcon& icon) {
        return icon.window == window && icon.id == id;
    });
    if (it == icons_.end())
        return false;
    icons_.erase(it);
    return true;
}

const NotifyIcon* Shell::FindIcon(HWND window, UINT id) const {
    for (const NotifyIcon& icon : icons_)
        if (icon.window == window && icon.id == id)
            return &icon;
    return nullptr;
}

const NotifyIcon* Shell::IconOf(int process) const {
    for (const NotifyIcon& icon : icons_)
        if (icon.process == process)
            return &icon;
    return nullptr;
}

HICON Shell::IconHandle(WORD resourceId) {
    auto it = iconHandles_.find(resourceId);
    if (it != iconHandles_.end())
        return it->second;
    HICON handle = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x00300000u + resourceId * 4u));
    iconHandles_.emplace(resourceId, handle);
    return handle;
}

WORD Shell::IconResource(HICON icon) const {
    for (const auto& [id, handle] : iconHandles_)
        if (handle == icon)
            return id;
    return 0;
}

} // namespace sim
