// The power manager as programs see it: GetDevicePower and SetDevicePower with the codes the
// power manager returns, on the WLAN adapter in each of its set-ups.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sim/radios.h"
#include "tests/support/device_test.h"

namespace {

const WCHAR* const kWlan = TEXT("{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1");

struct GetCase {
    int line;
    model::WlanSetUp setUp;
    const WCHAR* device;
    DWORD flags;
    bool statePointer;
    DWORD result;
    int state; // the state variable afterwards (it starts at 77)
};

const GetCase kGetCases[] = {
    {__LINE__, model::WlanSetUp::Off, kWlan, POWER_NAME, true, ERROR_SUCCESS, D4},
    {__LINE__, model::WlanSetUp::On, kWlan, POWER_NAME, true, ERROR_SUCCESS, D0},
    {__LINE__, model::WlanSetUp::Stuck, kWlan, POWER_NAME, true, ERROR_SUCCESS, D4},
    // An absent adapter is unknown to the power manager; the state is left as it was.
    {__LINE__, model::WlanSetUp::Absent, kWlan, POWER_NAME, true, ERROR_FILE_NOT_FOUND, 77},
    // Names compare without regard to letter case.
    {__LINE__, model::WlanSetUp::On, TEXT("{98c5250d-c29a-4985-ae5f-afe5367e5006}\\TIACXWLN1"),
     POWER_NAME, true, ERROR_SUCCESS, D0},
    // Without a class the generic power-manageable class is meant: a different device.
    {__LINE__, model::WlanSetUp::On, TEXT("tiacxwln1"), POWER_NAME, true, ERROR_FILE_NOT_FOUND, 77},
    {__LINE__, model::WlanSetUp::On, TEXT("{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln2"),
     POWER_NAME, true, ERROR_FILE_NOT_FOUND, 77},
    {__LINE__, model::WlanSetUp::On, kWlan, 0, true, ERROR_INVALID_PARAMETER, 77},
    {__LINE__, model::WlanSetUp::On, kWlan, POWER_NAME | POWER_FORCE, true, ERROR_SUCCESS, D0},
    {__LINE__, model::WlanSetUp::On, kWlan, POWER_NAME, false, ERROR_INVALID_PARAMETER, 77},
    {__LINE__, model::WlanSetUp::On, nullptr, POWER_NAME, true, ERROR_INVALID_PARAMETER, 77},
};

TEST(PowerManagerTest, GetDevicePowerAnswersAsThePowerManager) {
    for (const GetCase& c : kGetCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        sim::SetUpWifi(device, c.setUp);
        auto state = static_cast<CEDEVICE_POWER_STATE>(77);
        EXPECT_EQ(GetDevicePower(c.device, c.flags, c.statePointer ? &state : nullptr), c.result);
        EXPECT_EQ(state, c.state);
    }
}

struct SetCase {
    int line;
    model::WlanSetUp setUp;
    int request;
    DWORD result;
    int after; // the adapter's state afterwards
};

const SetCase kSetCases[] = {
    {__LINE__, model::WlanSetUp::Off, D0, ERROR_SUCCESS, D0},
    {__LINE__, model::WlanSetUp::On, D4, ERROR_SUCCESS, D4},
    {__LINE__, model::WlanSetUp::On, D0, ERROR_SUCCESS, D0},
    {__LINE__, model::WlanSetUp::Off, D2, ERROR_SUCCESS, D2},
    // The stuck adapter's driver refuses full power but takes every other state.
    {__LINE__, model::WlanSetUp::Stuck, D0, ERROR_WRITE_FAULT, D4},
    {__LINE__, model::WlanSetUp::Stuck, D3, ERROR_SUCCESS, D3},
    {__LINE__, model::WlanSetUp::Stuck, D4, ERROR_SUCCESS, D4},
    {__LINE__, model::WlanSetUp::Absent, D0, ERROR_FILE_NOT_FOUND, -1},
    {__LINE__, model::WlanSetUp::On, 5, ERROR_INVALID_PARAMETER, D0},
    {__LINE__, model::WlanSetUp::On, -2, ERROR_INVALID_PARAMETER, D0},
    // Unspecified hands the device back to normal power management; its state stays.
    {__LINE__, model::WlanSetUp::On, PwrDeviceUnspecified, ERROR_SUCCESS, D0},
};

TEST(PowerManagerTest, SetDevicePowerAnswersAsThePowerManager) {
    for (const SetCase& c : kSetCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        sim::Device device;
        sim::SetUpWifi(device, c.setUp);
        EXPECT_EQ(SetDevicePower(kWlan, POWER_NAME, static_cast<CEDEVICE_POWER_STATE>(c.request)),
                  c.result);
        EXPECT_EQ(device.handheld.power.StateOf(kWlan), c.after);
    }
}

TEST(PowerManagerTest, SetDevicePowerNeedsTheNameFlag) {
    sim::Device device;
    EXPECT_EQ(SetDevicePower(kWlan, 0, D0), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(SetDevicePower(nullptr, POWER_NAME, D0), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(device.handheld.power.StateOf(kWlan), D4);
}

TEST(PowerManagerTest, CallsAreTracedWithTheirOutValues) {
    sim::Device device;
    device.trace.Enable(true);
    CEDEVICE_POWER_STATE state = D0;
    GetDevicePower(kWlan, POWER_NAME, &state);
    SetDevicePower(kWlan, POWER_NAME, D0);
    GetDevicePower(TEXT("nothing"), POWER_NAME, &state);
    const auto texts = device.trace.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "GetDevicePower(\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\", 1, "
                        "&4) = 0");
    EXPECT_EQ(texts[1],
              "SetDevicePower(\"{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1\", 1, 0) = 0");
    EXPECT_EQ(texts[2], "GetDevicePower(\"nothing\", 1, &4) = 2");
}

// A device added without a class belongs to the generic class: it is found by its bare name
// and by the name qualified with that class, in any letter case, and by nothing else.
TEST(PowerManagerTest, AClasslessNameIsTheGenericClassInAnyCase) {
    struct Row {
        int line;
        const WCHAR* name;
        int state;
    };
    const Row rows[] = {
        {__LINE__, TEXT("Backlight"), model::kFullPower},
        {__LINE__, TEXT("BACKLIGHT"), model::kFullPower},
        {__LINE__, TEXT("{A32942B7-920C-486b-B0E6-92A702A99B35}\\backlight"), model::kFullPower},
        {__LINE__, TEXT("{a32942b7-920c-486B-b0e6-92a702a99b35}\\BackLight"), model::kFullPower},
        {__LINE__, TEXT("Backligh"), model::kUnspecified},
        {__LINE__, TEXT("Backlight2"), model::kUnspecified},
        {__LINE__, TEXT("{A32942B7-920C-486b-B0E6-92A702A99B36}\\Backlight"), model::kUnspecified},
        {__LINE__, TEXT("{A32942B7-920C-486b-B0E6-92A702A99B35}/Backlight"), model::kUnspecified},
        {__LINE__, TEXT("{A32942B7-920C-486b-B0E6-92A702A99B35}"), model::kUnspecified},
        {__LINE__, TEXT(""), model::kUnspecified},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        model::PowerManager power;
        power.AddDevice(TEXT("Backlight"), model::kFullPower);
        EXPECT_EQ(power.StateOf(row.name), row.state);
        // Whatever finds the device removes it, and nothing else does.
        power.RemoveDevice(row.name);
        EXPECT_EQ(power.StateOf(TEXT("backlight")),
                  row.state == model::kUnspecified ? model::kFullPower : model::kUnspecified);
    }
}

} // namespace
