#include "platform/model/power_manager.h"

#include <algorithm>

namespace model {

namespace {

// Power-manager names compare without regard to ASCII letter case, as device names do.
WCHAR FoldAscii(WCHAR c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<WCHAR>(c - 'A' + 'a') : c;
}

constexpr DWORD kPowerNameFlag = 0x00000001;  // POWER_NAME
constexpr DWORD kPowerForceFlag = 0x00001000; // POWER_FORCE

bool ValidState(int state) {
    return state >= kFullPower && state <= kPowerOff;
}

} // namespace

WString PowerManager::KeyOf(const WString& name) {
    WString key = name;
    if (key.empty() || key[0] != '{')
        key = WString(kGenericPowerClass) + TEXT("\\") + key;
    for (WCHAR& c : key)
        c = FoldAscii(c);
    return key;
}

PowerManager::Entry* PowerManager::Find(const WString& name) {
    const WString key = KeyOf(name);
    auto it = std::find_if(devices_.begin(), devices_.end(),
                           [&](const Entry& e) { return e.key == key; });
    return it == devices_.end() ? nullptr : &*it;
}

const PowerManager::Entry* PowerManager::Find(const WString& name) const {
    return const_cast<PowerManager*>(this)->Find(name);
}

void PowerManager::AddDevice(const WString& name, int state, PowerDriver* driver) {
    if (Entry* existing = Find(name)) {
        existing->state = state;
        existing->driver = driver;
        return;
    }
    devices_.push_back(Entry{KeyOf(name), state, driver});
}

void PowerManager::RemoveDevice(const WString& name) {
    const WString key = KeyOf(name);
    devices_.erase(std::remove_if(devices_.begin(), devices_.end(),
                                  [&](const Entry& e) { return e.key == key; }),
                   devices_.end());
}

int PowerManager::StateOf(const WString& name) const {
    const Entry* entry = Find(name);
    return entry == nullptr ? kUnspecified : entry->state;
}

void PowerManager::UpdateState(const WString& name, int state) {
    if (Entry* entry = Find(name))
        entry->state = state;
}

DWORD PowerManager::Get(const WCHAR* device, DWORD flags, CEDEVICE_POWER_STATE* state) const {
    if (device == nullptr || state == nullptr || (flags & kPowerNameFlag) == 0 ||
        (flags & ~(kPowerNameFlag | kPowerForceFlag)) != 0)
        return ERROR_INVALID_PARAMETER;
    const Entry* entry = Find(device);
    if (entry == nullptr)
        return ERROR_FILE_NOT_FOUND;
    *state = static_cast<CEDEVICE_POWER_STATE>(entry->state);
    return ERROR_SUCCESS;
}

DWORD PowerManager::Set(const WCHAR* device, DWORD flags, int state) {
    if (device == nullptr || (flags & kPowerNameFlag) == 0 ||
        (flags & ~(kPowerNameFlag | kPowerForceFlag)) != 0 ||
        (!ValidState(state) && state != kUnspecified))
        return ERROR_INVALID_PARAMETER;
    Entry* entry = Find(device);
    if (entry == nullptr)
        return ERROR_FILE_NOT_FOUND;
    // Unspecified hands the device back to normal power management: its state stays.
    if (state == kUnspecified)
        return ERROR_SUCCESS;
    if (entry->driver != nullptr) {
        const DWORD answer = entry->driver->OnSetPower(state);
        if (answer != ERROR_SUCCESS)
            return answer;
    }
    entry->state = state;
    return ERROR_SUCCESS;
}

} // namespace model
