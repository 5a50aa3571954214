// Look-ups in a resource section by identifier.
#include "platform/resources.h"

#include <span>

namespace res {

namespace {

// The first entry whose `key` is `id`; null when none is.
template <class Entry, class Key, class Id>
const Entry* First(std::span<const Entry> entries, Key Entry::*key, Id id) {
    for (const Entry& entry : entries)
        if (entry.*key == id)
            return &entry;
    return nullptr;
}

} // namespace

const Menu* FindMenu(const Section& section, WORD id) {
    return First(section.menus, &Menu::id, id);
}

const String* FindString(const Section& section, UINT id) {
    return First(section.strings, &String::id, id);
}

const Icon* FindIcon(const Section& section, WORD id) {
    return First(section.icons, &Icon::id, id);
}

const Dialog* FindDialog(const Section& section, WORD id) {
    return First(section.dialogs, &Dialog::id, id);
}

const ComboItems* FindComboItems(const Dialog& dialog, int controlId) {
    return First(dialog.comboItems, &ComboItems::controlId, controlId);
}

} // namespace res
