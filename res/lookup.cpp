// Look-ups in a resource section by identifier.
#include "platform/resources.h"

namespace res {

const Menu* FindMenu(const Section& section, WORD id) {
    for (const Menu& menu : section.menus)
        if (menu.id == id)
            return &menu;
    return nullptr;
}

const String* FindString(const Section& section, UINT id) {
    for (const String& entry : section.strings)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

const Icon* FindIcon(const Section& section, WORD id) {
    for (const Icon& icon : section.icons)
        if (icon.id == id)
            return &icon;
    return nullptr;
}

const Dialog* FindDialog(const Section& section, WORD id) {
    for (const Dialog& dialog : section.dialogs)
        if (dialog.id == id)
            return &dialog;
    return nullptr;
}

const ComboItems* FindComboItems(const Dialog& dialog, int controlId) {
    for (const ComboItems& entry : dialog.comboItems)
        if (entry.controlId == controlId)
            return &entry;
    return nullptr;
}

} // namespace res
