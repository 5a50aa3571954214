#include "platform/model/power_manager.h"

#include <algorithm>
#include <cstring>

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

bool Qualified(PowerManager::Name name) {
    return !name.empty() && name[0] == '{';
}

// Whether `folded` is `text` folded.
bool FoldsTo(PowerManager::Name folded, PowerManager::Name text) {
    if (folded.size() != text.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (folded[i] != FoldAscii(text[i]))
            return false;
    return true;
}

} // namespace

WString PowerManager::KeyOf(Name name) {
    WString key(name);
    if (!Qualified(name))
        key = WString(kGenericPowerClass) + TEXT("\\") + key;
    for (WCHAR& c : key)
        c = FoldAscii(c);
    return key;
}

bool PowerManager::Names(const Entry& entry, Name name) {
    // Byte for byte: the quickest answer for a caller that spells the name as it was added.
    if (entry.given.size() == name.size() &&
        (name.empty() ||
         std::memcmp(entry.given.data(), name.data(), name.size() * sizeof(WCHAR)) == 0))
        return true;
    const Name folded(entry.key);
    if (Qualified(name))
        return FoldsTo(folded, name);
    const Name generic(kGenericPowerClass);
    const std::size_t instance = generic.size() + 1;
    return folded.size() == instance + name.size() && folded[generic.size()] == '\\' &&
           FoldsTo(folded.substr(0, generic.size()), generic) &&
           FoldsTo(folded.substr(instance), name);
}

PowerManager::Entry* PowerManager::Find(Name name) {
    auto it = std::find_if(devices_.begin(), devices_.end(),
                           [&](const Entry& e) { return Names(e, name); });
    return it == devices_.end() ? nullptr : &*it;
}

const PowerManager::Entry* PowerManager::Find(Name name) const {
    return const_cast<PowerManager*>(this)->Find(name);
}

void PowerManager::AddDevice(Name name, int state, PowerDriver* driver) {
    if (Entry* existing = Find(name)) {
        existing->state = state;
        existing->driver = driver;
        return;
    }
    devices_.push_back(Entry{KeyOf(name), WString(name), state, driver});
}

void PowerManager::RemoveDevice(Name name) {
    devices_.erase(std::remove_if(devices_.begin(), devices_.end(),
                                  [&](const Entry& e) { return Names(e, name); }),
                   devices_.end());
}

int PowerManager::StateOf(Name name) const {
    const Entry* entry = Find(name);
    return entry == nullptr ? kUnspecified : entry->state;
}

void PowerManager::UpdateState(Name name, int state) {
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
