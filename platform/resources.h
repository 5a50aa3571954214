// The program's resources as plain data: menus, strings, icons and dialog templates. res/ holds
// the one set of tables; the simulated device reads them as its loader would read the image's
// resource section, and the Windows build turns the same tables into an .rc script.
#pragma once

#include <span>

#include "platform/platform.h"

namespace res {

// One item of a menu. A popup has items of its own; a separator has neither text nor id.
struct MenuItem {
    const WCHAR* text = nullptr;
    UINT id = 0;
    std::span<const MenuItem> popup = {};
    bool separator = false;
};

struct Menu {
    WORD id = 0;
    std::span<const MenuItem> items;
};

struct String {
    UINT id = 0;
    const WCHAR* text = nullptr;
};

// One image of an icon, drawn as rows of palette letters ('.' is transparent). An image
// larger than its art repeats every art pixel `scale` times in both directions.
struct IconImage {
    int size = 16; // width and height in pixels
    int bitsPerPixel = 8;
    std::span<const char* const> rows; // size / scale rows of size / scale letters
    int scale = 1;
};

struct Icon {
    WORD id = 0;
    std::span<const IconImage> images;
};

// Palette letter -> colour (0xRRGGBB) shared by every icon.
struct PaletteEntry {
    char letter = '.';
    DWORD rgb = 0;
};

// A dialog control. `id` -1 is the "no identifier" of static texts (0xFFFF in a template).
// An icon static names its icon resource in `iconId` and has no text.
struct Control {
    const WCHAR* className = nullptr; // "STATIC", "EDIT", "BUTTON", "COMBOBOX", "SIPPREF"
    const WCHAR* text = nullptr;
    int id = -1;
    DWORD style = 0; // full style, WS_CHILD and WS_VISIBLE included where they apply
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    WORD iconId = 0;
};

// Items that the dialog's owner adds to a drop-down list when the dialog is created, in order.
struct ComboItems {
    int controlId = 0;
    std::span<const WCHAR* const> items;
};

struct Dialog {
    WORD id = 0;
    const WCHAR* caption = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    const WCHAR* fontName = nullptr;
    WORD pointSize = 0;
    std::span<const Control> controls; // template order, which is also the tab order
    std::span<const ComboItems> comboItems;
};

// The whole resource section of the program image.
struct Section {
    std::span<const Menu> menus;
    std::span<const String> strings;
    std::span<const Icon> icons;
    std::span<const PaletteEntry> palette;
    std::span<const Dialog> dialogs;
};

// Defined in res/, as are the look-ups below: the program's resources.
const Section& ProgramResources();

// Look-ups by identifier in a section; null when there is none.
const Menu* FindMenu(const Section& section, WORD id);
const String* FindString(const Section& section, UINT id);
const Icon* FindIcon(const Section& section, WORD id);
const Dialog* FindDialog(const Section& section, WORD id);
const ComboItems* FindComboItems(const Dialog& dialog, int controlId);

} // namespace res
