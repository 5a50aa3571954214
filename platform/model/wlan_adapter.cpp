#include "platform/model/wlan_adapter.h"

#include <cstring>

namespace model {

namespace {

// The device's name with its length counted once, at compile time: IsOn is asked on every
// look at the device, and counting the 48 units each time cost more than the look-up.
constexpr PowerManager::Name kPowerName{WlanAdapter::kDeviceName};

} // namespace

WlanAdapter::WlanAdapter(PowerManager& power) : power_(power) {
    SetUp(WlanSetUp::Off);
}

void WlanAdapter::SetUp(WlanSetUp setUp) {
    kind_ = setUp;
    slotPowered_ = false;
    cardDetected_ = false;
    refusing_ = setUp == WlanSetUp::Stuck || setUp == WlanSetUp::Broken;
    wakes_ = statusChanges_ = lockResets_ = unlockResets_ = 0;
    if (setUp == WlanSetUp::Absent) {
        power_.RemoveDevice(kPowerName);
        return;
    }
    power_.AddDevice(kPowerName, setUp == WlanSetUp::On ? kFullPower : kPowerOff, this);
}

bool WlanAdapter::IsOn() const {
    return Present() && power_.StateOf(kPowerName) == kFullPower;
}

void WlanAdapter::PowerDown() {
    slotPowered_ = false;
    cardDetected_ = false;
    if (kind_ == WlanSetUp::Stuck || kind_ == WlanSetUp::Broken)
        refusing_ = true;
}

DWORD WlanAdapter::OnSetPower(int state) {
    if (state == kFullPower)
        return refusing_ ? static_cast<DWORD>(ERROR_WRITE_FAULT) : ERROR_SUCCESS;
    if (state == kPowerOff)
        PowerDown();
    return ERROR_SUCCESS;
}

void WlanAdapter::UserSwitch(bool on) {
    if (!Present() || (on && kind_ == WlanSetUp::Broken))
        return;
    if (on) {
        refusing_ = false;
        power_.UpdateState(kPowerName, kFullPower);
    } else {
        PowerDown();
        power_.UpdateState(kPowerName, kPowerOff);
    }
}

BOOL WlanAdapter::IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                            DWORD* bytesReturned, DWORD* error) {
    *error = ERROR_SUCCESS;
    if (code == kSlotPowerCode) {
        DWORD power = 0;
        if (in == nullptr || inSize < sizeof power) {
            *error = ERROR_INVALID_PARAMETER;
            return FALSE;
        }
        std::memcpy(&power, in, sizeof power);
        slotPowered_ = power != 0;
        if (!slotPowered_)
            cardDetected_ = false;
        if (bytesReturned != nullptr)
            *bytesReturned = 0;
        return TRUE;
    }
    if (code == kCardStatusCode) {
        if (out == nullptr || outSize < sizeof(DWORD)) {
            *error = ERROR_INSUFFICIENT_BUFFER;
            return FALSE;
        }
        // Reading the status of a detected card finishes bringing it up.
        if (Present() && cardDetected_ && refusing_ && kind_ != WlanSetUp::Broken) {
            refusing_ = false;
            power_.UpdateState(kPowerName, kFullPower);
            ++wakes_;
        }
        const DWORD ready = IsOn() ? 1 : 0;
        std::memcpy(out, &ready, sizeof ready);
        if (bytesReturned != nullptr)
            *bytesReturned = sizeof ready;
        return TRUE;
    }
    *error = ERROR_NOT_SUPPORTED;
    return FALSE;
}

bool WlanAdapter::OnEventSignalled(const WString& name) {
    if (!Present())
        return false; // no WLAN software runs without the adapter
    if (name == kDetectEvent) {
        if (slotPowered_)
            cardDetected_ = true;
        return true;
    }
    if (name == kStatusEvent) {
        ++statusChanges_;
        return true;
    }
    return false;
}

void WlanAdapter::OnEventReset(const WString& name) {
    if (!Present())
        return;
    if (name == kLockEvent)
        ++lockResets_;
    else if (name == kUnlockEvent)
        ++unlockResets_;
}

} // namespace model
