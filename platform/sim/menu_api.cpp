// Menus: loading from the program's resources, reading them, and the popup menu's modal loop.
#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/sim/device.h"
#include "platform/sim/message_loop.h"
#include "platform/sim/messaging.h"
#include "platform/sim/resource_names.h"
#include "platform/sim/trace_arg.h"

using sim::Dev;

using sim::P;

namespace {

// GetMenuItemID and GetMenuState say "no such item" with all bits set.
constexpr UINT kNoItem = 0xFFFFFFFFu;

const sim::MenuEntry* Item(HMENU menu, UINT item, UINT flags) {
    const sim::Menus& menus = Dev().menus;
    if ((flags & MF_BYPOSITION) != 0)
        return menus.ItemByPosition(menu, static_cast<int>(item));
    return menus.ItemByCommand(menu, item);
}

bool ValidMenu(HMENU menu) {
    if (Dev().menus.Get(menu) != nullptr)
        return true;
    Dev().SetLastErrorValue(ERROR_INVALID_MENU_HANDLE);
    return false;
}

// The item of a menu that exists; null, with the last error set for a menu that does not.
const sim::MenuEntry* ValidItem(HMENU menu, UINT item, UINT flags) {
    return ValidMenu(menu) ? Item(menu, item, flags) : nullptr;
}

} // namespace

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR menuName) {
    sim::Device& device = Dev();
    HMENU result = nullptr;
    const std::optional<WORD> id = sim::ResourceId(menuName);
    const res::Menu* menu = id ? res::FindMenu(res::ProgramResources(), *id) : nullptr;
    if (device.faults.loadMenu)
        device.SetLastErrorValue(ERROR_NOT_ENOUGH_MEMORY);
    else if (menu != nullptr)
        result = device.menus.Load(*menu, device.CurrentProcess());
    else
        device.SetLastErrorValue(ERROR_RESOURCE_NAME_NOT_FOUND);
    device.trace.Call("LoadMenuW", P(result), P(instance), sim::ResourceNameArg(menuName));
    return result;
}

HMENU GetSubMenu(HMENU menu, int position) {
    const sim::MenuEntry* entry = ValidItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    const HMENU result = entry != nullptr ? entry->popup : nullptr;
    Dev().trace.Call("GetSubMenu", P(result), P(menu), position);
    return result;
}

int GetMenuItemCount(HMENU menu) {
    sim::Device& device = Dev();
    int result = -1;
    if (ValidMenu(menu))
        result = static_cast<int>(device.menus.Get(menu)->items.size());
    device.trace.Call("GetMenuItemCount", result, P(menu));
    return result;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const sim::MenuEntry* entry = ValidItem(menu, static_cast<UINT>(position), MF_BYPOSITION);
    const UINT result = entry == nullptr || entry->popup != nullptr ? kNoItem : entry->id;
    Dev().trace.Call("GetMenuItemID", result, P(menu), position);
    return result;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags) {
    sim::Device& device = Dev();
    int result = 0;
    const sim::MenuEntry* entry = ValidItem(menu, item, flags);
    if (entry != nullptr) {
        if (text == nullptr || maxCount <= 0) {
            result = static_cast<int>(entry->text.size()); // the length it would need
        } else {
            const std::size_t n =
                std::min(entry->text.size(), static_cast<std::size_t>(maxCount - 1));
            entry->text.copy(text, n);
            text[n] = 0;
            result = static_cast<int>(n);
        }
    } else if (text != nullptr && maxCount > 0) {
        text[0] = 0;
    }
    device.trace.Call("GetMenuStringW", result, P(menu), item, maxCount, flags);
    return result;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    sim::Device& device = Dev();
    UINT result = kNoItem;
    if (const sim::MenuEntry* entry = ValidItem(menu, item, flags)) {
        result = entry->flags & ~static_cast<UINT>(MF_POPUP);
        if (entry->popup != nullptr) {
            // A popup reports its item count in the high byte of the low word.
            const sim::MenuObject* popup = device.menus.Get(entry->popup);
            const UINT count = popup == nullptr ? 0 : static_cast<UINT>(popup->items.size());
            result = MF_POPUP | (result & 0xFF) | ((count & 0xFF) << 8);
        }
    }
    device.trace.Call("GetMenuState", result, P(menu), item, flags);
    return result;
}

BOOL DestroyMenu(HMENU menu) {
    sim::Device& device = Dev();
    const BOOL result = device.menus.Destroy(menu) ? TRUE : FALSE;
    if (!result)
        device.SetLastErrorValue(ERROR_INVALID_MENU_HANDLE);
    device.trace.Call("DestroyMenu", result, P(menu));
    return result;
}

// The popup runs its own message loop, so the program's timers and other messages go on while
// it is open. A chosen item reaches the owner as a posted WM_COMMAND, unless TPM_RETURNCMD asks
// for it as the result. WM_QUIT closes the popup and is passed on outward.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    if (!ValidMenu(menu)) {
    } else if (!device.windows.Exists(owner)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    } else if (device.menus.tracking) {
        device.SetLastErrorValue(ERROR_POPUP_ALREADY_ACTIVE);
    } else {
        device.menus.tracking = sim::PopupTracking{menu, owner, flags, x, y, false, 0};
        if ((flags & TPM_NONOTIFY) == 0)
            sim::Send(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                      MAKELPARAM(0, FALSE));
        sim::RunMessageLoopUntil([&device, menu, owner] {
            const auto& tracking = device.menus.tracking;
            return !tracking || tracking->closed || device.menus.Get(menu) == nullptr ||
                   !device.windows.Exists(owner);
        });
        const UINT chosen = device.menus.tracking ? device.menus.tracking->chosen : 0;
        device.menus.tracking.reset();
        if ((flags & TPM_RETURNCMD) != 0) {
            result = static_cast<BOOL>(chosen);
        } else {
            if (chosen != 0 && device.windows.Exists(owner))
                sim::Post(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
            result = TRUE;
        }
    }
    device.trace.Call("TrackPopupMenuEx", result, P(menu), flags, x, y, P(owner), P(params));
    return result;
}

BOOL EndMenu() {
    sim::Device& device = Dev();
    BOOL result = FALSE;
    if (device.menus.tracking && !device.menus.tracking->closed) {
        device.menus.tracking->closed = true;
        device.menus.tracking->chosen = 0;
        result = TRUE;
    }
    device.trace.Call("EndMenu", result);
    return result;
}
