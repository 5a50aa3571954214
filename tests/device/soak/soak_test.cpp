// A simulated week of use at 100 ms ticks: seeded random window churn (open, close, rename,
// front; captions of 0 to 64,000 code units, lone surrogates, NUL inside), the settings changed
// through the dialog every hour, radios switched by hand. Every hour probe windows check that
// the settings just typed drive the radios, that the program holds no handle between ticks
// and that it keeps the same windows; at the end every window and handle is accounted for.
// KIPO_SOAK_HOURS shortens the span (the sanitizer build uses it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/radios.h"
#include "res/resource_ids.h"
#include "tests/device/app/kipo_run.h"
#include "tests/device/soak/soak_churn.h"

namespace {

constexpr std::uint64_t kHour = 3600 * 1000;

int SoakHours() {
    const char* text = std::getenv("KIPO_SOAK_HOURS");
    if (text == nullptr || *text == 0)
        return 7 * 24;
    const int hours = std::atoi(text);
    return hours >= 1 && hours <= 7 * 24 ? hours : 7 * 24;
}

// One hour's settings as the user types them, and what the registry must hold after OK.
struct HourSettings {
    WString onList;
    WString offList;
    WString runList;
    int btDefault = 0;
    int wifiDefault = 0;
    bool offFirst = false;
    bool keepOn = false;
};

class SoakTest : public KipoRunTest {
  protected:
    SoakChurn churn{device, 0x4B49504Fu};
    std::vector<HourSettings> typed;
    int dialogsOpened = 0;
    int probesRun = 0;
    int programWindows = -1;

    static WString Probe(const char* kind, int hour) {
        return FromUtf8(std::string("Probe") + kind + std::to_string(hour));
    }

    HourSettings RandomSettings(int hour) {
        HourSettings s;
        s.onList = TEXT("#b") + Probe("A", hour) + TEXT(";#w") + Probe("W", hour) +
                   churn.RandomWifiEntries();
        s.offList = TEXT("#b") + Probe("B", hour) + churn.RandomWifiEntries();
        s.runList = churn.RandomWifiEntries();
        s.btDefault = static_cast<int>(churn.Next() % 3);
        s.wifiDefault = static_cast<int>(churn.Next() % 3);
        s.offFirst = churn.Next() % 2 == 0;
        s.keepOn = churn.Next() % 2 == 0;
        return s;
    }

    const sim::RegValue* Setting(const WCHAR* name) const {
        return device.registry.Find(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"),
                                    name);
    }
    WString SettingText(const WCHAR* name) const {
        const sim::RegValue* value = Setting(name);
        if (value == nullptr || value->type != REG_SZ)
            return TEXT("<not a string>");
        WString text(value->data.size() / 2, u'\0');
        std::memcpy(text.data(), value->data.data(), text.size() * 2);
        while (!text.empty() && text.back() == 0)
            text.pop_back();
        return text;
    }
    LONG SettingDword(const WCHAR* name) const {
        const sim::RegValue* value = Setting(name);
        LONG number = -99;
        if (value != nullptr && value->type == REG_DWORD && value->data.size() == 4)
            std::memcpy(&number, value->data.data(), 4);
        return number;
    }

    // The simulated user changes every list and choice through the dialog, then presses OK.
    void ChangeSettingsAt(std::uint64_t time, int hour) {
        At(time, [this] { churn.Pause(true); });
        ChooseFromIcon(time, TEXT("Settings"));
        At(time, [this, hour] {
            ++dialogsOpened;
            const HourSettings s = RandomSettings(hour);
            typed.push_back(s);
            EXPECT_TRUE(device.TypeText(IDC_ONLIST, s.onList));
            EXPECT_TRUE(device.TypeText(IDC_OFFLIST, s.offList));
            EXPECT_TRUE(device.TypeText(IDC_ONRUNLIST, s.runList));
            EXPECT_TRUE(device.SelectItem(IDC_DEFAULTACTION, s.btDefault));
            EXPECT_TRUE(device.SelectItem(IDC_WFDEFAULTACTION, s.wifiDefault));
            EXPECT_TRUE(device.SetCheck(IDC_OFFTAKESPRECEDENCE, s.offFirst));
            EXPECT_TRUE(device.SetCheck(IDC_KEEPPDAON, s.keepOn));
            device.scheduler.AtNextWait([this] { EXPECT_TRUE(device.ClickButton(IDOK)); });
        });
        At(time + 500, [this, hour] { CheckSettingsWritten(hour); });
    }

    void CheckSettingsWritten(int hour) {
        ASSERT_FALSE(typed.empty());
        const HourSettings& s = typed.back();
        EXPECT_EQ(SettingText(TEXT("OnList")), s.onList) << "hour " << hour;
        EXPECT_EQ(SettingText(TEXT("OffList")), s.offList) << "hour " << hour;
        EXPECT_EQ(SettingText(TEXT("OnRunList")), s.runList) << "hour " << hour;
        EXPECT_EQ(SettingDword(TEXT("DefaultAction")), s.btDefault) << "hour " << hour;
        EXPECT_EQ(SettingDword(TEXT("WFDefaultAction")), s.wifiDefault) << "hour " << hour;
        EXPECT_EQ(SettingDword(TEXT("OffTakesPrecedence")), s.offFirst ? 1 : 0) << "hour " << hour;
        EXPECT_EQ(SettingDword(TEXT("KeepPDAOn")), s.keepOn ? 1 : 0) << "hour " << hour;
        EXPECT_EQ(device.ForegroundDialog(), nullptr) << "hour " << hour;
    }

    // Probe windows in front: the Bluetooth on and off entries and the WiFi on entry just
    // typed must act within one tick, whatever the churn and hand switches did before.
    void ProbeAt(std::uint64_t time, int hour) {
        const WString a = Probe("A", hour), b = Probe("B", hour), w = Probe("W", hour);
        At(time, [this, a] { churn.OpenProbe(a); });
        At(time + 300, [this, hour, b] {
            EXPECT_TRUE(sim::BluetoothIsOn(device)) << "on entry, hour " << hour;
            churn.OpenProbe(b);
        });
        At(time + 600, [this, hour, w] {
            EXPECT_FALSE(sim::BluetoothIsOn(device)) << "off entry, hour " << hour;
            churn.OpenProbe(w);
        });
        At(time + 900, [this, hour, a, b, w] {
            EXPECT_TRUE(sim::WifiIsOn(device)) << "WiFi on entry, hour " << hour;
            for (const WString& probe : {a, b, w})
                EXPECT_TRUE(device.Close(probe)) << "hour " << hour;
            // Between ticks the program holds nothing open and keeps the same windows.
            EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0) << "hour " << hour;
            const int windows = device.windows.WindowCount(sim::kProgramProcess);
            if (programWindows < 0)
                programWindows = windows;
            EXPECT_EQ(windows, programWindows) << "hour " << hour;
            ++probesRun;
            churn.Pause(false);
        });
    }
};

TEST_F(SoakTest, AWeekOfChurnSettingsAndHandSwitchesLeavesNothingBehind) {
    sim::SetUpBluetooth(device, model::BluetoothStack::Widcomm, false);
    sim::SetUpWifi(device, model::WlanSetUp::Off);
    const int hours = SoakHours();
    const std::uint64_t end = hours * kHour;
    const std::size_t windowsBefore = device.windows.TopLevel().size();

    churn.Start(2000, end - 2000);
    for (int hour = 0; hour < hours; ++hour) {
        const std::uint64_t base = hour * kHour + 30 * 1000;
        ChangeSettingsAt(base, hour);
        ProbeAt(base + 1000, hour);
    }
    ChooseFromIcon(end, TEXT("Exit"));
    const int exitCode = Run(TEXT("100"));

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(dialogsOpened, hours);
    EXPECT_EQ(probesRun, hours);
    EXPECT_EQ(churn.Failures(), 0) << churn.FirstFailure();
    // The churn really ran: windows opened by the thousand, long and odd captions among them.
    EXPECT_GT(churn.Opened(), hours * 100);
    EXPECT_GT(churn.LongCaptions(), 0);
    EXPECT_GT(churn.HandSwitches(), hours);
    EXPECT_GT(churn.CaptionsChecked(), hours * 100);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
    EXPECT_FALSE(device.IconShown());
    EXPECT_EQ(device.windows.TopLevel().size(), windowsBefore + churn.OpenCount());
    EXPECT_GE(device.Now(), end);
}

} // namespace
