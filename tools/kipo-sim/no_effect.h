// Why a radio that Kipo decided did not end up in the decided state. Kipo itself never
// learns this (its radio operations report nothing); kipo-sim reads the device to say it.
#pragma once

#include <string>

#include "platform/platform.h"

namespace sim {
class Device;
}

namespace kiposim {

// The reason, in words, that the radio (0 Bluetooth, 1 WiFi) is not `wantOn` after Kipo
// decided it so, given the BTControl value Kipo ran with. Looks only at the device's own
// state, never through a platform call.
std::string NoEffectReason(const sim::Device& device, LONG btControl, int radio, bool wantOn);

// The installed Bluetooth stack in words: "the Widcomm stack", "the Microsoft stack", "no
// Bluetooth stack".
std::string InstalledStackText(const sim::Device& device);

} // namespace kiposim
