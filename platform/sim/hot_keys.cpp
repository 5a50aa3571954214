#include "platform/sim/hot_keys.h"

#include <algorithm>

namespace sim {

namespace {
constexpr UINT kShift = 0x10;
constexpr UINT kControl = 0x11;
constexpr UINT kAlt = 0x12;
constexpr UINT kLeftWin = 0x5B;
constexpr UINT kRightWin = 0x5C;
constexpr UINT kFirstAppButton = 0xC1;
constexpr UINT kLastAppButton = 0xC6;
} // namespace

DWORD HotKeys::Register(HWND window, int id, UINT modifiers, UINT virtualKey, int process) {
    for (const HotKey& key : keys_)
        if (key.virtualKey == virtualKey && Combination(key.modifiers) == Combination(modifiers))
            return ERROR_HOTKEY_ALREADY_REGISTERED;
    keys_.push_back(HotKey{window, process, id, modifiers, virtualKey});
    return 0;
}

DWORD HotKeys::Unregister(HWND window, int id, int process) {
    auto it = std::find_if(keys_.begin(), keys_.end(), [&](const HotKey& key) {
        return key.window == window && key.id == id &&
               (window != nullptr || key.process == process);
    });
    if (it == keys_.end())
        return ERROR_HOTKEY_NOT_REGISTERED;
    keys_.erase(it);
    return 0;
}

void HotKeys::RemoveWindow(HWND window) {
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [window](const HotKey& key) { return key.window == window; }),
                keys_.end());
}

int HotKeys::Release(UINT modifiers, UINT virtualKey) {
    const auto before = keys_.size();
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(),
                               [&](const HotKey& key) {
                                   return key.virtualKey == virtualKey &&
                                          Combination(key.modifiers) == Combination(modifiers);
                               }),
                keys_.end());
    return static_cast<int>(before - keys_.size());
}

const HotKey* HotKeys::Match(UINT heldModifiers, UINT virtualKey) const {
    for (const HotKey& key : keys_)
        if (key.virtualKey == virtualKey && Combination(key.modifiers) == heldModifiers)
            return &key;
    return nullptr;
}

void HotKeys::SetDown(UINT virtualKey, bool down) {
    if (virtualKey < down_.size())
        down_[virtualKey] = down;
}

UINT HotKeys::HeldModifiers(UINT forKey) const {
    UINT held = 0;
    if (IsDown(kShift))
        held |= MOD_SHIFT;
    if (IsDown(kControl))
        held |= MOD_CONTROL;
    if (IsDown(kAlt))
        held |= MOD_ALT;
    if (IsDown(kLeftWin) || IsDown(kRightWin) ||
        (forKey >= kFirstAppButton && forKey <= kLastAppButton))
        held |= MOD_WIN;
    return held;
}

} // namespace sim
