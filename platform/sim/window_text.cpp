// Window captions: read, written and measured as Windows does it.
#include <algorithm>

#include "platform/sim/device.h"
#include "platform/sim/messaging.h"
#include "platform/sim/window_ops.h"

namespace sim {

int CopyText(const WString& text, LPWSTR buffer, int maxCount) {
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
}

int GetText(HWND handle, LPWSTR buffer, int maxCount) {
    Device& device = Dev();
    const Window* window = device.windows.Get(handle);
    if (window == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        if (buffer != nullptr && maxCount > 0)
            buffer[0] = 0;
        return 0;
    }
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    if (window->process != device.CurrentProcess())
        return CopyText(window->caption, buffer, maxCount);
    buffer[0] = 0;
    const LRESULT copied =
        Send(handle, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer));
    // A procedure's answer is trusted only as far as the buffer goes.
    buffer[maxCount - 1] = 0;
    return static_cast<int>(std::clamp<LRESULT>(copied, 0, maxCount - 1));
}

int GetTextLength(HWND handle) {
    Device& device = Dev();
    const Window* window = device.windows.Get(handle);
    if (window == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (window->process != device.CurrentProcess())
        return static_cast<int>(window->caption.size());
    const LRESULT length = Send(handle, WM_GETTEXTLENGTH, 0, 0);
    return static_cast<int>(std::max<LRESULT>(length, 0));
}

bool SetText(HWND handle, LPCWSTR text) {
    Device& device = Dev();
    if (!device.windows.Exists(handle)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return Send(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
}

} // namespace sim
