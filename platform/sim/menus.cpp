#include "platform/sim/menus.h"

#include <utility>

namespace sim {

HMENU Menus::Build(std::span<const res::MenuItem> items, int process) {
    const HMENU handle = reinterpret_cast<HMENU>(nextHandle_);
    nextHandle_ += 4;
    MenuObject object;
    object.handle = handle;
    object.process = process;
    for (const res::MenuItem& item : items) {
        MenuEntry entry;
        if (item.separator) {
            entry.flags = MF_SEPARATOR;
        } else {
            entry.text = item.text != nullptr ? WString(item.text) : WString();
            entry.id = item.id;
            if (!item.popup.empty()) {
                entry.flags = MF_POPUP;
                entry.popup = Build(item.popup, process);
            }
        }
        object.items.push_back(entry);
    }
    menus_.emplace(handle, std::move(object));
    return handle;
}

HMENU Menus::Load(const res::Menu& menu, int process) {
    return Build(menu.items, process);
}

MenuObject* Menus::Get(HMENU menu) {
    return const_cast<MenuObject*>(std::as_const(*this).Get(menu));
}

const MenuObject* Menus::Get(HMENU menu) const {
    auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

bool Menus::Destroy(HMENU menu) {
    auto it = menus_.find(menu);
    if (it == menus_.end())
        return false;
    std::vector<HMENU> popups;
    for (const MenuEntry& entry : it->second.items)
        if (entry.popup != nullptr)
            popups.push_back(entry.popup);
    menus_.erase(it);
    for (HMENU popup : popups)
        Destroy(popup);
    return true;
}

int Menus::Count(int process) const {
    int count = 0;
    for (const auto& [handle, object] : menus_)
        if (object.process == process)
            ++count;
    return count;
}

const MenuEntry* Menus::ItemByPosition(HMENU menu, int position) const {
    const MenuObject* object = Get(menu);
    if (object == nullptr || position < 0 || position >= static_cast<int>(object->items.size()))
        return nullptr;
    return &object->items[static_cast<std::size_t>(position)];
}

const MenuEntry* Menus::ItemByCommand(HMENU menu, UINT id) const {
    const MenuObject* object = Get(menu);
    if (object == nullptr)
        return nullptr;
    for (const MenuEntry& entry : object->items) {
        if (entry.popup != nullptr) {
            if (const MenuEntry* found = ItemByCommand(entry.popup, id))
                return found;
        } else if ((entry.flags & MF_SEPARATOR) == 0 && entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

WString PlainMenuText(const WString& text) {
    WString plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                plain += text[++i]; // "&&" stands for one "&"
            continue;
        }
        plain += text[i];
    }
    const WString dots = TEXT("...");
    if (plain.size() >= dots.size() &&
        plain.compare(plain.size() - dots.size(), dots.size(), dots) == 0)
        plain.resize(plain.size() - dots.size());
    return plain;
}

} // namespace sim
