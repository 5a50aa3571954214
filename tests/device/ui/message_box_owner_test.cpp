// The framework's standard message box is owned by the main window's last active popup (the
// settings dialog while it runs), which stays disabled while the box is up: the user cannot
// end the dialog under the find-window instruction, and the grab that follows the box lands on
// a live dialog.
#include <gtest/gtest.h>

#include "tests/device/app/kipo_run.h"
#include "ui/settings_dlg.h"

namespace {

class MessageBoxOwnerTest : public KipoRunTest {
  protected:
    static CSettingsDlg* Dialog() { return Frame() != nullptr ? Frame()->SettingsDlg : nullptr; }
    static HWND DialogWindow() { return Dialog() != nullptr ? Dialog()->m_hWnd : nullptr; }

    // Settings at `time` and "Find Window!": the instruction box is up.
    void OpenInstruction(std::uint64_t time) {
        ChooseFromIcon(time, TEXT("Settings"));
        At(time, [this] { EXPECT_TRUE(device.ClickButton(IDC_FINDWINDOW)); });
    }
};

TEST_F(MessageBoxOwnerTest, InstructionBoxIsOwnedByTheDialogWhichItDisables) {
    OpenInstruction(1000);
    HWND box = nullptr, owner = nullptr, lastPopup = nullptr;
    BOOL enabledUnderBox = TRUE, frameEnabled = TRUE;
    At(1000, [&] {
        box = device.OpenMessageBox();
        owner = GetWindow(box, GW_OWNER);
        lastPopup = GetLastActivePopup(Frame()->m_hWnd);
        enabledUnderBox = IsWindowEnabled(DialogWindow());
        frameEnabled = IsWindowEnabled(Frame()->m_hWnd);
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    BOOL enabledAfter = FALSE;
    At(1500, [&] {
        enabledAfter = IsWindowEnabled(DialogWindow());
        device.OpenWindow(TEXT("Calendar"));
    });
    At(2000, [this] { device.TapKey(VK_APP1); });
    At(2000, [this] { device.ClickButton(IDCANCEL); }); // the Window Found dialog
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(owner, nullptr);
    EXPECT_EQ(lastPopup, box) << "the box is the main window's last active popup";
    EXPECT_FALSE(enabledUnderBox);
    EXPECT_FALSE(frameEnabled) << "the settings dialog's modal run keeps the frame disabled";
    EXPECT_TRUE(enabledAfter);
}

// The reported sequence: with the box up, the icon's Settings command brings the dialog to the
// front, and the user taps its OK. The tap reaches nothing in the disabled dialog (the box comes
// back to the front, as Windows answers a tap on a disabled window); once the box is dismissed
// the grab's hot key and timer belong to the dialog that still runs.
TEST_F(MessageBoxOwnerTest, DialogCannotEndUnderTheBoxAndTheGrabGoesToTheLiveDialog) {
    OpenInstruction(1000);
    HWND dialog = nullptr, box = nullptr;
    At(1000, [&] {
        dialog = DialogWindow();
        box = device.OpenMessageBox();
    });
    ChooseFromIcon(1000, TEXT("Settings"));
    HWND frontAfterSettings = nullptr, frontAfterTap = nullptr;
    At(1000, [&] {
        frontAfterSettings = GetForegroundWindow();
        EXPECT_TRUE(device.ClickButton(IDOK)); // on the settings dialog
    });
    At(1000, [&] {
        frontAfterTap = GetForegroundWindow();
        EXPECT_TRUE(device.ClickButton(IDOK)); // now on the box
    });
    bool dialogRuns = false, hotKeyOnDialog = false, timerOnDialog = false;
    At(1500, [&] {
        dialogRuns = IsWindow(dialog) && DialogWindow() == dialog;
        for (const sim::HotKey& key : device.windows.hotKeys.All())
            hotKeyOnDialog |= key.window == dialog && key.virtualKey == VK_APP1;
        timerOnDialog = device.windows.timers.Find(dialog, 1) != nullptr;
    });
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    EXPECT_EQ(frontAfterSettings, dialog) << "OnSettings makes the (disabled) dialog foreground";
    EXPECT_EQ(frontAfterTap, box);
    EXPECT_TRUE(dialogRuns);
    EXPECT_TRUE(hotKeyOnDialog);
    EXPECT_TRUE(timerOnDialog);
}

// Every way the user reaches a control fails on a disabled dialog with no popup to bring forward.
TEST_F(MessageBoxOwnerTest, DisabledDialogTakesNoInput) {
    ChooseFromIcon(1000, TEXT("Settings"));
    struct Row {
        int line;
        std::function<bool(sim::Device&)> input;
    };
    const Row rows[] = {
        {__LINE__, [](sim::Device& d) { return d.ClickButton(IDOK); }},
        {__LINE__, [](sim::Device& d) { return d.ClickButton(IDCANCEL); }},
        {__LINE__, [](sim::Device& d) { return d.TypeText(IDC_ONLIST, TEXT("x")); }},
        {__LINE__, [](sim::Device& d) { return d.SetCheck(IDC_KEEPPDAON, true); }},
        {__LINE__, [](sim::Device& d) { return d.SelectItem(IDC_DEFAULTACTION, 1); }},
    };
    At(1000, [&] {
        EnableWindow(DialogWindow(), FALSE);
        for (const Row& row : rows)
            EXPECT_FALSE(row.input(device)) << "row at line " << row.line;
        EnableWindow(DialogWindow(), TRUE);
    });
    bool stillOpen = false;
    At(1500, [&] {
        stillOpen = Dialog() != nullptr;
        EXPECT_TRUE(device.ClickButton(IDCANCEL));
    });
    ChooseFromIcon(3000, TEXT("Exit"));
    Run();
    EXPECT_TRUE(stillOpen);
}

} // namespace
