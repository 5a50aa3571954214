// An open registry key that closes itself: every key the program opens is closed in the
// operation that opened it, on every path out of it.
#pragma once

#include <utility>

#include "platform/platform.h"

class RegKey {
  public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    // For the out-parameter of RegOpenKeyExW / RegCreateKeyExW: closes what was held. The
    // registry calls write NULL there when they fail, so nothing is held after a failure.
    PHKEY Receive() {
        Close();
        return &key_;
    }

    // Takes ownership of `key`, closing what was held.
    void Reset(HKEY key) {
        Close();
        key_ = key;
    }

    void Close() {
        if (key_ != nullptr)
            RegCloseKey(std::exchange(key_, nullptr));
    }

  private:
    HKEY key_ = nullptr;
};
