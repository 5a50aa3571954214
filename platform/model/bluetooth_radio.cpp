#include "platform/model/bluetooth_radio.h"

namespace model {

void BluetoothRadio::SetOn(bool on) {
    if (!on)
        mode_ = kModeOff;
    else if (mode_ == kModeOff)
        mode_ = kModeConnectable;
}

int BluetoothRadio::LibrarySetMode(DWORD mode) {
    if (stack_ != BluetoothStack::Microsoft)
        return ERROR_SERVICE_NOT_ACTIVE;
    if (mode > kModeDiscoverable)
        return ERROR_INVALID_PARAMETER;
    mode_ = mode;
    return ERROR_SUCCESS;
}

int BluetoothRadio::LibraryGetMode(DWORD* mode) const {
    if (mode == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (stack_ != BluetoothStack::Microsoft)
        return ERROR_SERVICE_NOT_ACTIVE;
    *mode = mode_;
    return ERROR_SUCCESS;
}

} // namespace model
