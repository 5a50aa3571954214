// Icons and strings from the program's resources (res/).
#include <algorithm>
#include <cstring>

#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/sim/device.h"
#include "platform/sim/resource_names.h"

using sim::Dev;

HICON LoadIconW(HINSTANCE instance, LPCWSTR iconName) {
    sim::Device& device = Dev();
    HICON result = nullptr;
    const std::optional<WORD> id = sim::ResourceId(iconName);
    if (id && res::FindIcon(res::ProgramResources(), *id) != nullptr)
        result = device.shell.IconHandle(*id);
    else
        device.SetLastErrorValue(ERROR_RESOURCE_NAME_NOT_FOUND);
    device.trace.Call("LoadIconW", static_cast<const void*>(result),
                      static_cast<const void*>(instance), sim::ResourceNameArg(iconName));
    return result;
}

// Icons from LoadIconW are shared: destroying one leaves it usable, as on Windows.
BOOL DestroyIcon(HICON icon) {
    sim::Device& device = Dev();
    const BOOL result = device.shell.IconResource(icon) != 0 ? TRUE : FALSE;
    if (!result)
        device.SetLastErrorValue(ERROR_INVALID_ICON_HANDLE);
    device.trace.Call("DestroyIcon", result, static_cast<const void*>(icon));
    return result;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount) {
    sim::Device& device = Dev();
    int result = 0;
    const res::String* entry =
        id <= 0xFFFF ? res::FindString(res::ProgramResources(), id) : nullptr;
    if (buffer == nullptr) {
        device.SetLastErrorValue(ERROR_INVALID_PARAMETER);
    } else if (entry == nullptr) {
        device.SetLastErrorValue(ERROR_RESOURCE_NAME_NOT_FOUND);
        if (maxCount > 0)
            buffer[0] = 0;
    } else {
        const WString text(entry->text);
        if (maxCount == 0) {
            // A zero-sized buffer receives a read-only pointer to the resource's text.
            const WCHAR* text_pointer = entry->text;
            std::memcpy(buffer, &text_pointer, sizeof text_pointer);
            result = static_cast<int>(text.size());
        } else if (maxCount > 0) {
            const std::size_t n = std::min(text.size(), static_cast<std::size_t>(maxCount - 1));
            text.copy(buffer, n);
            buffer[n] = 0;
            result = static_cast<int>(n);
        }
    }
    device.trace.Call("LoadStringW", result, static_cast<const void*>(instance), id);
    return result;
}
