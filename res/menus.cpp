// Menu 128, the frame's menu: the "&File" popup that the notification icon opens, then "&Help".
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr MenuItem kFilePopup[] = {
    {TEXT("Settings..."), ID_SETTINGS},
    {TEXT("&About Kipo..."), ID_APP_ABOUT},
    {nullptr, 0, {}, true},
    {TEXT("E&xit"), ID_APP_EXIT},
};

constexpr MenuItem kMainFrame[] = {
    {TEXT("&File"), 0, kFilePopup},
    {TEXT("&Help"), ID_HELP_MENU},
};

constexpr Menu kMenus[] = {
    {IDR_MAINFRAME, kMainFrame},
};

} // namespace

std::span<const Menu> MenuTable() {
    return kMenus;
}

} // namespace res
