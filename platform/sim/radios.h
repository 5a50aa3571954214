// Setting up the simulated device's radios and switching them by hand, as a user (or a
// scenario) does behind the program's back.
#pragma once

#include "platform/model/bluetooth_radio.h"
#include "platform/model/wlan_adapter.h"

namespace sim {

class Device;

// The installed Bluetooth stack and the radio's first state. Widcomm starts its console
// process; Microsoft answers the utility library; with none the radio cannot be switched.
void SetUpBluetooth(Device& device, model::BluetoothStack stack, bool on);
// The WLAN adapter: on, off, absent or stuck. A present adapter brings its WLAN software,
// which keeps the four named events of the wake sequence open.
void SetUpWifi(Device& device, model::WlanSetUp setUp);

// The user switches a radio with the device's own tools. Under the Widcomm stack the stack
// notes the change in "StackMode" too.
void UserSwitchBluetooth(Device& device, bool on);
void UserSwitchWifi(Device& device, bool on);

bool BluetoothIsOn(const Device& device);
bool WifiIsOn(const Device& device);

} // namespace sim
