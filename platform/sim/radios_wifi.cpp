// WLAN adapter set-up and the user's own switch.
#include "platform/sim/radios.h"

#include "platform/sim/device.h"

namespace sim {

namespace {
const WCHAR* const kWlanEvents[] = {
    model::WlanAdapter::kStatusEvent, model::WlanAdapter::kLockEvent,
    model::WlanAdapter::kUnlockEvent, model::WlanAdapter::kDetectEvent};
}

void SetUpWifi(Device& device, model::WlanSetUp setUp) {
    device.handheld.wlan.SetUp(setUp);
    for (const WCHAR* name : kWlanEvents) {
        if (setUp == model::WlanSetUp::Absent)
            device.events.ReleaseForDevice(name);
        else
            device.events.HoldForDevice(name, false);
    }
}

void UserSwitchWifi(Device& device, bool on) {
    device.handheld.wlan.UserSwitch(on);
    device.handheld.idle.UserActivity(device.Now());
}

bool WifiIsOn(const Device& device) {
    return device.handheld.wlan.IsOn();
}

} // namespace sim
