// CDialog and data exchange on real templates: the load and save rules of each control kind,
// OK copying controls into members, Cancel copying nothing, the full-screen treatment.
#include <optional>

#include <gtest/gtest.h>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/message_box.h"
#include "framework/win_app.h"
#include "res/resource_ids.h"
#include "tests/support/device_test.h"

namespace {

// The Window Found template: edit 1006, radio group 1007/1010/1008, check box 1009.
class FoundLikeDlg : public CDialog {
  public:
    FoundLikeDlg() : CDialog(IDD_WINDOW_FOUND) {}
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Check(dx, IDC_CONTINUEFIND, check);
        DDX_Text(dx, IDC_FOUNDCAPTION, text);
        DDX_Radio(dx, IDC_LIST_ACTIVE, radio);
    }
    int check = 0;
    WString text;
    int radio = -1;
};

// The settings template, for its drop-down lists.
class SettingsLikeDlg : public CDialog {
  public:
    // Its input-panel control exists once the shell's extra controls are initialised.
    SettingsLikeDlg() : CDialog(IDD_SETTINGS) { SHInitExtraControls(); }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_CBIndex(dx, IDC_DEFAULTACTION, action);
        DDX_CBIndex(dx, IDC_BTCONTROL, stack);
    }
    int action = 0;
    int stack = 0;
};

class DialogTest : public DeviceTest {
  protected:
    // Runs `dialog` modally; `inside` runs while it is open (the foreground dialog).
    template <class F> INT_PTR RunDialog(CDialog& dialog, F inside) {
        device.scheduler.AtNextWait([&] { inside(); });
        return dialog.DoModal();
    }
};

struct CheckLoadCase {
    int line;
    int member;
    bool shownChecked;
    int memberAfterLoad;
};

TEST_F(DialogTest, CheckBoxLoadNormalisesOutOfRangeValues) {
    const CheckLoadCase cases[] = {
        {__LINE__, 0, false, 0},  {__LINE__, 1, true, 1},     {__LINE__, 3, false, 0},
        {__LINE__, -1, false, 0}, {__LINE__, 1000, false, 0},
    };
    for (const CheckLoadCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        FoundLikeDlg dialog;
        dialog.m_bFullScreen = FALSE;
        dialog.check = c.member;
        std::optional<bool> shown;
        int afterLoad = 99;
        RunDialog(dialog, [&] {
            shown = device.ControlChecked(IDC_CONTINUEFIND);
            afterLoad = dialog.check;
            device.ClickButton(IDCANCEL);
        });
        EXPECT_EQ(shown, c.shownChecked);
        EXPECT_EQ(afterLoad, c.memberAfterLoad);
    }
}

struct RadioCase {
    int line;
    int member;
    bool active, running, off;
};

TEST_F(DialogTest, RadioGroupLoadChecksTheNumberedButtonInTemplateOrder) {
    // Template order is 1007, 1010, 1008: number 1 is "Running" (1010), not 1008.
    const RadioCase cases[] = {
        {__LINE__, 0, true, false, false},  {__LINE__, 1, false, true, false},
        {__LINE__, 2, false, false, true},  {__LINE__, -1, false, false, false},
        {__LINE__, 3, false, false, false},
    };
    for (const RadioCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        FoundLikeDlg dialog;
        dialog.m_bFullScreen = FALSE;
        dialog.radio = c.member;
        bool active = false, running = false, off = false;
        RunDialog(dialog, [&] {
            active = device.ControlChecked(IDC_LIST_ACTIVE).value_or(false);
            running = device.ControlChecked(IDC_LIST_RUNNING).value_or(false);
            off = device.ControlChecked(IDC_LIST_OFF).value_or(false);
            device.ClickButton(IDCANCEL);
        });
        EXPECT_EQ(active, c.active);
        EXPECT_EQ(running, c.running);
        EXPECT_EQ(off, c.off);
    }
}

TEST_F(DialogTest, OkSavesEveryControlIntoItsMember) {
    FoundLikeDlg dialog;
    dialog.m_bFullScreen = FALSE;
    dialog.text = TEXT("Calendar");
    dialog.radio = 0;
    WString longText(70000, u'x');
    const INT_PTR result = RunDialog(dialog, [&] {
        EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("Calendar")));
        EXPECT_TRUE(device.TypeText(IDC_FOUNDCAPTION, longText));
        EXPECT_TRUE(device.ChooseRadio(IDC_LIST_OFF));
        EXPECT_TRUE(device.SetCheck(IDC_CONTINUEFIND, true));
        device.scheduler.AtNextWait([&] { device.ClickButton(IDOK); });
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.text, longText) << "any length";
    EXPECT_EQ(dialog.radio, 2);
    EXPECT_EQ(dialog.check, 1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DialogTest, CancelCopiesNothing) {
    FoundLikeDlg dialog;
    dialog.m_bFullScreen = FALSE;
    dialog.text = TEXT("Inbox");
    dialog.radio = 1;
    const INT_PTR result = RunDialog(dialog, [&] {
        device.TypeText(IDC_FOUNDCAPTION, TEXT("changed"));
        device.ChooseRadio(IDC_LIST_ACTIVE);
        device.scheduler.AtNextWait([&] { device.ClickButton(IDCANCEL); });
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.text, WString(TEXT("Inbox")));
    EXPECT_EQ(dialog.radio, 1);
}

TEST_F(DialogTest, RadioSaveGivesMinusOneWhenNoneIsChecked) {
    FoundLikeDlg dialog;
    dialog.m_bFullScreen = FALSE;
    dialog.radio = 7; // no such button: all clear
    RunDialog(dialog, [&] { device.ClickButton(IDOK); });
    EXPECT_EQ(dialog.radio, -1);
}

struct ComboCase {
    int line;
    int member;
    int shown;
    int saved;
};

TEST_F(DialogTest, DropDownIndexWithoutAnItemSavesMinusOne) {
    const ComboCase cases[] = {
        {__LINE__, 0, 0, 0},   {__LINE__, 2, 2, 2},    {__LINE__, 3, -1, -1},
        {__LINE__, 5, -1, -1}, {__LINE__, -1, -1, -1},
    };
    for (const ComboCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "table line " << c.line);
        SettingsLikeDlg dialog;
        dialog.action = c.member;
        std::optional<int> shown;
        std::optional<int> stackShown;
        RunDialog(dialog, [&] {
            shown = device.ControlSelection(IDC_DEFAULTACTION);
            stackShown = device.ControlSelection(IDC_BTCONTROL);
            device.ClickButton(IDOK);
        });
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(dialog.action, c.saved);
        EXPECT_EQ(stackShown, 0);
    }
}

TEST_F(DialogTest, TemplateItemsAreAddedInOrderBeforeTheLoad) {
    SettingsLikeDlg dialog;
    std::vector<WString> items;
    RunDialog(dialog, [&] {
        HWND combo = GetDlgItem(device.ForegroundDialog(), IDC_DEFAULTACTION);
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR text[32] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        device.ClickButton(IDCANCEL);
    });
    EXPECT_EQ(items, (std::vector<WString>{TEXT("Leave"), TEXT("Turn On"), TEXT("Turn Off")}));
}

TEST_F(DialogTest, FullScreenTreatmentUnlessSwitchedOff) {
    FoundLikeDlg fullScreen;
    HWND first = nullptr;
    RunDialog(fullScreen, [&] {
        first = device.ForegroundDialog();
        device.ClickButton(IDCANCEL);
    });
    ASSERT_EQ(device.shell.dialogInits.size(), 1u);
    EXPECT_EQ(device.shell.dialogInits[0].dialog, first);
    EXPECT_EQ(device.shell.dialogInits[0].flags, 0x000Du);

    FoundLikeDlg plain;
    plain.m_bFullScreen = FALSE;
    RunDialog(plain, [&] { device.ClickButton(IDCANCEL); });
    EXPECT_EQ(device.shell.dialogInits.size(), 1u) << "no shell treatment for the second";
}

TEST_F(DialogTest, StandardMessageBoxUsesTheApplicationTitle) {
    device.trace.Enable(true);
    device.scheduler.AtNextWait([&] {
        EXPECT_EQ(device.MessageBoxCaption(), WString(TEXT("Kipo")));
        EXPECT_EQ(device.MessageBoxText(), WString(TEXT("Hello")));
        device.ClickButton(IDOK);
    });
    EXPECT_EQ(AfxMessageBox(TEXT("Hello")), IDOK);
    const std::vector<std::string> calls = device.trace.Texts({"MessageBoxW"});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find("\"Hello\", \"Kipo\", 65584"), std::string::npos) << calls[0];
}

} // namespace
