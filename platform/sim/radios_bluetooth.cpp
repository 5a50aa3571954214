// Bluetooth set-up and the user's own switch.
#include "platform/sim/radios.h"

#include "platform/sim/device.h"

namespace sim {

void SetUpBluetooth(Device& device, model::BluetoothStack stack, bool on) {
    if (stack == model::BluetoothStack::Widcomm) {
        device.widcomm.Install(device, on);
        return;
    }
    device.widcomm.CloseConsole(device);
    device.handheld.bluetooth.SetStack(stack);
    device.handheld.bluetooth.SetOn(on);
}

void UserSwitchBluetooth(Device& device, bool on) {
    if (device.handheld.bluetooth.Stack() == model::BluetoothStack::Widcomm &&
        device.widcomm.Installed())
        device.widcomm.SwitchRadio(device, on);
    else
        device.handheld.bluetooth.SetOn(on);
    device.handheld.idle.UserActivity(device.Now());
}

bool BluetoothIsOn(const Device& device) {
    return device.handheld.bluetooth.IsOn();
}
} // namespace sim
