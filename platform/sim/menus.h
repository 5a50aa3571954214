// Menus of the simulated device: menu objects loaded from the program's resources, and the one
// popup menu that TrackPopupMenuEx can have open at a time.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/resources.h"

namespace sim {

struct MenuEntry {
    UINT flags = MF_STRING; // MF_POPUP, MF_SEPARATOR, MF_GRAYED
    UINT id = 0;
    WString text;
    HMENU popup = nullptr;
};

struct MenuObject {
    HMENU handle = nullptr;
    int process = 0;
    std::vector<MenuEntry> items;
};

// The popup being tracked.
struct PopupTracking {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    UINT flags = 0;
    int x = 0;
    int y = 0;
    bool closed = false;
    UINT chosen = 0; // the command chosen; 0 when dismissed
};

class Menus {
  public:
    // A menu built from a resource, its popups included, owned by `process`.
    HMENU Load(const res::Menu& menu, int process);
    MenuObject* Get(HMENU menu);
    const MenuObject* Get(HMENU menu) const;
    // Destroys the menu and its popups; false when it is not a menu.
    bool Destroy(HMENU menu);
    // Menus of `process` not yet destroyed (popups count as menus of their own).
    int Count(int process) const;

    // An item by position, or by command anywhere below `menu`.
    const MenuEntry* ItemByPosition(HMENU menu, int position) const;
    const MenuEntry* ItemByCommand(HMENU menu, UINT id) const;

    std::optional<PopupTracking> tracking;

  private:
    HMENU Build(std::span<const res::MenuItem> items, int process);
    std::map<HMENU, MenuObject> menus_;
    ULONG_PTR nextHandle_ = 0x00200010;
};

// An item's text as the simulated user reads it: without "&" marks and a trailing "...".
WString PlainMenuText(const WString& text);

} // namespace sim
