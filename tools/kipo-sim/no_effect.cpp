#include "tools/kipo-sim/no_effect.h"

#include "platform/sim/device.h"

namespace kiposim {

namespace {

bool ConsoleWindowExists(const sim::Device& device) {
    for (HWND handle : device.windows.TopLevel()) {
        const sim::Window* window = device.windows.Get(handle);
        if (window != nullptr && window->caption == sim::WidcommStack::kConsoleCaption)
            return true;
    }
    return false;
}

model::BluetoothStack Installed(const sim::Device& device) {
    return device.handheld.bluetooth.Stack();
}

std::string BluetoothReason(const sim::Device& device, LONG btControl, bool wantOn) {
    const model::BluetoothStack stack = Installed(device);
    if (btControl != 0 && btControl != 1)
        return "BTControl is " + std::to_string(btControl) +
               ", which selects no stack: Kipo calls neither stack";
    if (btControl == 0) {
        if (!ConsoleWindowExists(device)) {
            if (stack == model::BluetoothStack::Widcomm)
                return "no \"Bluetooth Console\" window: the Widcomm console is not running, so "
                       "the command reached no window";
            return "no \"Bluetooth Console\" window: BTControl 0 chooses Widcomm, but the device "
                   "has " +
                   InstalledStackText(device) + ", so the command reached no window";
        }
        if (!wantOn)
            return "Kipo reads the Widcomm \"StackMode\" value as off (only 1 counts as on), so "
                   "it sent no command";
        return "the Widcomm console did not switch the radio";
    }
    if (stack != model::BluetoothStack::Microsoft)
        return "BTControl 1 chooses the Microsoft stack, but the device has " +
               InstalledStackText(device) + ": BthSetMode fails";
    return "the Microsoft stack did not take the new mode";
}

std::string WifiReason(const sim::Device& device, bool wantOn) {
    const model::WlanAdapter& wlan = device.handheld.wlan;
    if (!wlan.Present())
        return "the WLAN adapter is absent: the power manager does not know it";
    if (wantOn)
        return "the adapter refused full power and the wake sequence did not help";
    return "the adapter did not leave full power";
}

} // namespace

std::string InstalledStackText(const sim::Device& device) {
    switch (Installed(device)) {
    case model::BluetoothStack::Widcomm:
        return "the Widcomm stack";
    case model::BluetoothStack::Microsoft:
        return "the Microsoft stack";
    case model::BluetoothStack::None:
        break;
    }
    return "no Bluetooth stack";
}

std::string NoEffectReason(const sim::Device& device, LONG btControl, int radio, bool wantOn) {
    return radio == 0 ? BluetoothReason(device, btControl, wantOn) : WifiReason(device, wantOn);
}

} // namespace kiposim
