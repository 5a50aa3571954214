// Hot-key registrations and the state of every key of the simulated device.
#pragma once

#include <array>
#include <vector>

#include "platform/platform.h"

namespace sim {

struct HotKey {
    HWND window = nullptr; // null: WM_HOTKEY goes to the queue of `process`
    int process = 0;
    int id = 0;
    UINT modifiers = 0; // as registered, MOD_KEYUP included
    UINT virtualKey = 0;
};

class HotKeys {
  public:
    // 0, or the Win32 error: a key combination has one holder at a time (1409). A second
    // registration of a window's id with another key is kept beside the first, as Windows
    // keeps it; UnregisterHotKey then removes the older one.
    DWORD Register(HWND window, int id, UINT modifiers, UINT virtualKey, int process);
    // 0, or ERROR_HOTKEY_NOT_REGISTERED.
    DWORD Unregister(HWND window, int id, int process);
    void RemoveWindow(HWND window);
    // Frees a key combination from whichever window holds it (the shell's UnregisterFunc1);
    // returns how many registrations went.
    int Release(UINT modifiers, UINT virtualKey);
    // The registration a key press with these modifiers held reaches, or null.
    const HotKey* Match(UINT heldModifiers, UINT virtualKey) const;
    const std::vector<HotKey>& All() const { return keys_; }

    bool IsDown(UINT virtualKey) const { return virtualKey < down_.size() && down_[virtualKey]; }
    void SetDown(UINT virtualKey, bool down);
    // MOD_* bits of the modifier keys now down; the application buttons carry MOD_WIN, as the
    // Pocket PC's hardware buttons do.
    UINT HeldModifiers(UINT forKey) const;

  private:
    static UINT Combination(UINT modifiers) { return modifiers & ~static_cast<UINT>(MOD_KEYUP); }
    std::vector<HotKey> keys_;
    std::array<bool, 256> down_{};
};

} // namespace sim
