// The reasons kipo-sim gives when a radio Kipo decided did not end up that way, read from the
// device: each set-up that leaves a switch without effect names its own cause.
#include <gtest/gtest.h>

#include "platform/sim/device.h"
#include "platform/sim/radios.h"
#include "tools/kipo-sim/no_effect.h"

namespace {

struct Case {
    int line;
    model::BluetoothStack stack;
    bool closeConsole;
    model::WlanSetUp wifi;
    LONG btControl;
    int radio;
    bool wantOn;
    const char* reason; // a part of the reason
};

TEST(NoEffectReason, EachCauseIsNamed) {
    using model::BluetoothStack;
    using model::WlanSetUp;
    const Case cases[] = {
        {__LINE__, BluetoothStack::Microsoft, false, WlanSetUp::Off, 0, 0, true,
         "no \"Bluetooth Console\" window: BTControl 0 chooses Widcomm, but the device has the "
         "Microsoft stack"},
        {__LINE__, BluetoothStack::None, false, WlanSetUp::Off, 0, 0, true,
         "the device has no Bluetooth stack"},
        {__LINE__, BluetoothStack::Widcomm, true, WlanSetUp::Off, 0, 0, true,
         "the Widcomm console is not running"},
        {__LINE__, BluetoothStack::Widcomm, false, WlanSetUp::Off, 1, 0, true,
         "BTControl 1 chooses the Microsoft stack, but the device has the Widcomm stack"},
        {__LINE__, BluetoothStack::Microsoft, false, WlanSetUp::Off, 2, 0, false,
         "BTControl is 2, which selects no stack"},
        {__LINE__, BluetoothStack::Microsoft, false, WlanSetUp::Off, -1, 0, true,
         "BTControl is -1, which selects no stack"},
        {__LINE__, BluetoothStack::Widcomm, false, WlanSetUp::Absent, 0, 1, true,
         "the WLAN adapter is absent"},
        {__LINE__, BluetoothStack::Widcomm, false, WlanSetUp::Stuck, 0, 1, true,
         "refused full power and the wake sequence did not help"},
        {__LINE__, BluetoothStack::Widcomm, false, WlanSetUp::On, 0, 1, false,
         "did not leave full power"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        sim::SetUpBluetooth(device, c.stack, false);
        if (c.closeConsole)
            device.widcomm.CloseConsole(device);
        sim::SetUpWifi(device, c.wifi);
        const std::string reason = kiposim::NoEffectReason(device, c.btControl, c.radio, c.wantOn);
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}

} // namespace
