// The Settings command as the user meets it: the nine values into the dialog, OK writing all
// nine back and rebuilding the lists, Cancel writing nothing, values the controls cannot show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <string>
#include <vector>

#include "settings/settings_values.h"
#include "tests/device/app/kipo_run.h"
#include "ui/settings_dlg.h"

namespace {

class SettingsDialogTest : public KipoRunTest {
  protected:
    // Opens Settings from the icon at `time`; `inside` runs in the open dialog.
    void InSettings(std::uint64_t time, std::function<void()> inside) {
        ChooseFromIcon(time, TEXT("Settings"));
        At(time, std::move(inside));
    }
    void ExitAt(std::uint64_t time) { ChooseFromIcon(time, TEXT("Exit")); }

    void SetDword(const WCHAR* name, DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
    void SetText(const WCHAR* name, const WString& text) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
    // Reads a value as the outside world would, after the run.
    std::vector<BYTE> Value(const WCHAR* name, DWORD* type) {
        HKEY key = nullptr;
        std::vector<BYTE> data;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"), 0, KEY_READ,
                          &key) != ERROR_SUCCESS)
            return data;
        DWORD size = 0;
        if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS) {
            data.resize(size);
            RegQueryValueExW(key, name, nullptr, type, data.data(), &size);
        }
        RegCloseKey(key);
        return data;
    }
    LONG Dword(const WCHAR* name) {
        DWORD type = 0;
        std::vector<BYTE> data = Value(name, &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << ToUtf8(name);
        LONG value = 0;
        if (data.size() == 4)
            std::memcpy(&value, data.data(), 4);
        return value;
    }
    WString Text(const WCHAR* name) {
        DWORD type = 0;
        std::vector<BYTE> data = Value(name, &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << ToUtf8(name);
        WString text(data.size() / 2, u'\0');
        std::memcpy(text.data(), data.data(), text.size() * 2);
        while (!text.empty() && text.back() == 0)
            text.pop_back();
        return text;
    }
};

TEST_F(SettingsDialogTest, OkWithoutChangesWritesAllNineInOrderAndRebuildsTheLists) {
    device.trace.Enable(true);
    std::size_t writesBefore = 0;
    InSettings(1000, [&] {
        writesBefore = device.trace.Texts({"RegSetValueExW"}).size();
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    std::size_t onRunningEntries = 0;
    At(2000, [&] { onRunningEntries = Frame()->BtOnRunningList.size(); });
    ExitAt(2000);
    Run();
    EXPECT_EQ(writesBefore, 0u);
    std::vector<std::string> writes = device.trace.Texts({"RegSetValueExW"});
    ASSERT_EQ(writes.size(), 9u);
    for (int i = 0; i < SettingValueCount; ++i)
        EXPECT_NE(writes[i].find("\"" + ToUtf8(SettingValues[i].name) + "\""), std::string::npos)
            << writes[i];
    EXPECT_EQ(Dword(TEXT("DefaultAction")), 0);
    EXPECT_EQ(Text(TEXT("OffList")), WString(TEXT("HR: ;")));
    EXPECT_EQ(Text(TEXT("OnRunList")), WString(TEXT("Internet explorer;")));
    EXPECT_EQ(Text(TEXT("OnList")), WString());
    EXPECT_EQ(onRunningEntries, 1u);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

TEST_F(SettingsDialogTest, CancelWritesNothingAndKeepsTheLists) {
    device.trace.Enable(true);
    InSettings(1000, [&] {
        EXPECT_TRUE(device.TypeText(IDC_ONLIST, TEXT("Inbox")));
        device.scheduler.AtNextWait([&] { EXPECT_TRUE(device.ClickButton(IDCANCEL)); });
    });
    std::size_t activeEntries = 99;
    At(2000,
       [&] { activeEntries = Frame()->BtOnActiveList.size() + Frame()->WifiOnActiveList.size(); });
    ExitAt(2000);
    Run();
    EXPECT_TRUE(device.trace.Texts({"RegSetValueExW"}).empty());
    EXPECT_EQ(activeEntries, 0u);
}

TEST_F(SettingsDialogTest, ValuesTheControlsCannotShowAreNormalisedByOk) {
    SetDword(TEXT("DefaultAction"), 5);
    SetDword(TEXT("KeepPDAOn"), 3);
    SetDword(TEXT("BTControl"), 1);
    std::optional<int> shownAction;
    std::optional<bool> shownKeep;
    std::optional<int> shownStack;
    InSettings(1000, [&] {
        shownAction = device.ControlSelection(IDC_DEFAULTACTION);
        shownKeep = device.ControlChecked(IDC_KEEPPDAON);
        shownStack = device.ControlSelection(IDC_BTCONTROL);
        device.ClickButton(IDOK);
    });
    ExitAt(2000);
    Run();
    EXPECT_EQ(shownAction, -1);
    EXPECT_EQ(shownKeep, false);
    EXPECT_EQ(shownStack, 1);
    EXPECT_EQ(Dword(TEXT("DefaultAction")), -1);
    EXPECT_EQ(Dword(TEXT("KeepPDAOn")), 0);
    EXPECT_EQ(Dword(TEXT("BTControl")), 1);
}

TEST_F(SettingsDialogTest, ListFieldsKeepAnyTextUnchanged) {
    WString longList;
    for (int i = 0; i < 5000; ++i)
        longList += TEXT(" Mixed Case Entry;");
    SetText(TEXT("OnList"), TEXT("  Stored  As  Is ;"));
    std::optional<WString> shown;
    InSettings(1000, [&] {
        shown = device.ControlText(IDC_ONLIST);
        EXPECT_TRUE(device.TypeText(IDC_OFFLIST, longList));
        device.scheduler.AtNextWait([&] { device.ClickButton(IDOK); });
    });
    ExitAt(2000);
    Run();
    EXPECT_EQ(shown, WString(TEXT("  Stored  As  Is ;")));
    EXPECT_EQ(Text(TEXT("OnList")), WString(TEXT("  Stored  As  Is ;")));
    EXPECT_EQ(Text(TEXT("OffList")), longList);
}

TEST_F(SettingsDialogTest, HiddenControlsExistButAreNeverShown) {
    struct Hidden {
        int id;
        const char* what;
    };
    const Hidden hidden[] = {
        {IDC_MATCH, "match list"}, {IDC_CHECKINTERVAL, "interval edit"}, {IDC_TEST, "Test button"}};
    std::vector<bool> exists, visible;
    int matchItems = 0;
    InSettings(1000, [&] {
        HWND dialog = device.ForegroundDialog();
        for (const Hidden& h : hidden) {
            HWND control = GetDlgItem(dialog, h.id);
            exists.push_back(control != nullptr);
            visible.push_back(control != nullptr && IsWindowVisible(control));
        }
        matchItems = static_cast<int>(SendDlgItemMessageW(dialog, IDC_MATCH, CB_GETCOUNT, 0, 0));
        EXPECT_FALSE(device.ClickButton(IDC_TEST)) << "a hidden button cannot be pressed";
        device.ClickButton(IDCANCEL);
    });
    ExitAt(2000);
    Run();
    for (std::size_t i = 0; i < std::size(hidden); ++i) {
        SCOPED_TRACE(hidden[i].what);
        EXPECT_TRUE(exists[i]);
        EXPECT_FALSE(visible[i]);
    }
    EXPECT_EQ(matchItems, 2);
    EXPECT_EQ(device.trace.Count("EnumWindows"), 0u);
}

// The hidden Test button, pressed by a message: a box for every top-level window with a
// caption, none for a window whose caption is empty.
TEST_F(SettingsDialogTest, TestButtonShowsNoBoxForAnEmptyCaption) {
    device.OpenWindowBehind(TEXT(""));
    device.OpenWindowBehind(TEXT("Named"));
    std::vector<WString> boxes;
    bool pressed = false;
    InSettings(1000, [&] {
        pressed = PostMessageW(device.ForegroundDialog(), WM_COMMAND,
                               MAKEWPARAM(IDC_TEST, BN_CLICKED), 0) != FALSE;
    });
    // Each box is modal: read it and close it, until none is left.
    for (std::uint64_t t = 1001; t < 1040; ++t)
        At(t, [&] {
            if (device.OpenMessageBox() != nullptr) {
                boxes.push_back(device.MessageBoxText());
                device.ClickButton(IDOK);
            }
        });
    At(1050, [this] { device.ClickButton(IDCANCEL); });
    ExitAt(2000);
    Run();
    ASSERT_TRUE(pressed);
    EXPECT_GE(boxes.size(), 2u) << "\"Named\" and \"Desktop\" at least";
    EXPECT_NE(std::find(boxes.begin(), boxes.end(), WString(TEXT("Named"))), boxes.end());
    for (const WString& text : boxes)
        EXPECT_FALSE(text.empty()) << "a box for a window without a caption";
}

TEST_F(SettingsDialogTest, SettingsAgainBringsTheSameDialogForward) {
    HWND first = nullptr;
    InSettings(1000, [&] {
        first = device.ForegroundDialog();
        device.Front(TEXT("Desktop"));
    });
    HWND again = nullptr;
    ChooseFromIcon(2000, TEXT("Settings"));
    At(2000, [&] {
        again = device.ForegroundDialog();
        device.ClickButton(IDCANCEL);
    });
    ExitAt(3000);
    Run();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(again, first);
    EXPECT_EQ(device.trace.Count("DialogBoxParamW"), 1u);
}

TEST_F(SettingsDialogTest, MonitorTickSeesTheDialogWhileItIsOpen) {
    WString seen;
    std::uint64_t ticks = 0;
    InSettings(1000, [&] { ticks = device.trace.Count("GetForegroundWindow"); });
    At(8000, [&] {
        seen = Frame()->LastCaption;
        ticks = device.trace.Count("GetForegroundWindow") - ticks;
        device.ClickButton(IDCANCEL);
    });
    ExitAt(9000);
    Run();
    EXPECT_EQ(seen, WString(TEXT("kipo settings")));
    EXPECT_GE(ticks, 4u);
}

TEST_F(SettingsDialogTest, ExitWhileTheDialogIsOpenEndsCleanly) {
    device.trace.Enable(true);
    InSettings(1000, [] {});
    ExitAt(2000);
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(device.IconShown());
    EXPECT_TRUE(device.trace.Texts({"RegSetValueExW"}).empty());
    EXPECT_EQ(device.windows.WindowCount(sim::kProgramProcess), 0);
    EXPECT_EQ(device.OpenHandles(sim::kProgramProcess), 0);
}

} // namespace
