// Modal runs: a dialog's own loop with the user inside it, EndDialog, the disabled owner,
// WM_QUIT unwinding nested loops, SHInitDialog, and message boxes.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "tests/device/shell/shell_fixture.h"

namespace {

using DialogModalTest = ShellTest;

INT_PTR RunWindowFound(HWND parent = nullptr, LPARAM param = 0) {
    return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND), parent,
                           ShellTest::LoggingDialogProc, param);
}

// A dialog procedure that ends the dialog with the command of any button.
INT_PTR EndOnButtons(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(DialogModalTest, UserTypesAndClicksInsideTheDialogsOwnLoop) {
    WString read;
    int firstFocus = 0;
    onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (message == WM_INITDIALOG)
            firstFocus = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            WCHAR text[64] = {};
            GetDlgItemTextW(dialog, IDC_FOUNDCAPTION, text, 64);
            read = text;
            EndDialog(dialog, 42);
        }
        return EndOnButtons(dialog, message == WM_COMMAND ? WM_NULL : message, wParam, lParam);
    };
    At(100, [this] { EXPECT_TRUE(device.TypeText(IDC_FOUNDCAPTION, TEXT("Calendar"))); });
    At(150, [this] {
        EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("Calendar")));
        EXPECT_NE(device.ForegroundDialog(), nullptr);
    });
    At(200, [this] { EXPECT_TRUE(device.ClickButton(IDOK)); });
    EXPECT_EQ(RunWindowFound(nullptr, 77), 42);
    EXPECT_EQ(read, WString(TEXT("Calendar")));
    EXPECT_EQ(device.Now(), 200u);
    const std::vector<LoggedMessage> init = Received(WM_INITDIALOG);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].lParam, 77);
    EXPECT_EQ(firstFocus, IDC_FOUNDCAPTION) << "WM_INITDIALOG names the first tab stop";
    EXPECT_FALSE(IsWindow(init[0].window)) << "the modal run destroys its dialog";
    EXPECT_EQ(device.NewestDialog(), nullptr);
}

TEST_F(DialogModalTest, OwnerIsDisabledDuringTheRunAndItsTimersGoOn) {
    const HWND owner = MakeWindow();
    SetTimer(owner, 1, 100, nullptr);
    onDialog = EndOnButtons;
    At(250, [&] {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetWindow(device.ForegroundDialog(), GW_OWNER), owner);
        EXPECT_TRUE(device.ClickButton(IDCANCEL));
    });
    EXPECT_EQ(RunWindowFound(owner), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(Received(WM_TIMER, owner).size(), 2u) << "at 100 and 200 ms, inside the run";
}

TEST_F(DialogModalTest, EndDialogWhileStartingSkipsTheLoop) {
    onDialog = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            EndDialog(dialog, 5);
        return FALSE;
    };
    At(1000, [] { ADD_FAILURE() << "the dialog waited for the user"; });
    EXPECT_EQ(RunWindowFound(), 5);
    EXPECT_EQ(device.Now(), 0u);
    EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x4242), 1));
}

TEST_F(DialogModalTest, QuitUnwindsNestedDialogsAndReachesTheOuterLoop) {
    INT_PTR inner = -7;
    onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
            inner = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_ABOUTBOX), dialog,
                                    LoggingDialogProc, 0);
        return message == WM_INITDIALOG ? TRUE : FALSE;
    };
    At(100, [this] { EXPECT_TRUE(device.ClickButton(IDOK)); });
    At(200, [this] {
        EXPECT_EQ(device.dialogs.Open().size(), 2u);
        PostQuitMessage(3);
    });
    EXPECT_EQ(RunWindowFound(), 0) << "no EndDialog: the quit ended it";
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(device.Now(), 200u);
    EXPECT_EQ(device.NewestDialog(), nullptr);
    MSG msg;
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogModalTest, HiddenDialogKeepsRunningAndIsStillSeenByChecks) {
    SHInitExtraControls();
    onDialog = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_FINDWINDOW)
            ShowWindow(dialog, SW_HIDE);
        if (message == WM_TIMER) {
            ShowWindow(dialog, SW_SHOW);
            SetForegroundWindow(dialog);
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return FALSE;
    };
    HWND dialog = nullptr;
    At(100, [&] {
        dialog = device.ForegroundDialog();
        SetDlgItemTextW(dialog, IDC_ONLIST, TEXT("inbox"));
        SetTimer(dialog, 1, 400, nullptr);
        EXPECT_TRUE(device.ClickButton(IDC_FINDWINDOW));
    });
    At(200, [&] {
        EXPECT_FALSE(IsWindowVisible(dialog));
        EXPECT_EQ(device.ForegroundDialog(), nullptr);
        EXPECT_FALSE(device.ClickButton(IDCANCEL)) << "the user cannot reach a hidden dialog";
        EXPECT_EQ(device.DialogInView(), dialog);
        EXPECT_EQ(device.ControlText(IDC_ONLIST), WString(TEXT("inbox")));
    });
    At(600, [&] {
        EXPECT_EQ(device.ForegroundDialog(), dialog);
        EXPECT_TRUE(device.ClickButton(IDCANCEL));
    });
    EXPECT_EQ(
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        IDCANCEL);
}

TEST_F(DialogModalTest, FullScreenInitialisationSizesTheDialogAndAddsDone) {
    SHInitExtraControls();
    DWORD error = 0;
    onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog,
                               SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
            EXPECT_TRUE(SHInitDialog(&info));
            SHINITDLGINFO bad{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x99), 0};
            EXPECT_FALSE(SHInitDialog(&bad));
            error = GetLastError();
            EXPECT_FALSE(SHInitDialog(nullptr));
        }
        return EndOnButtons(dialog, message, wParam, 0);
    };
    At(100, [this] {
        RECT rect{};
        GetWindowRect(device.ForegroundDialog(), &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 52) << "below the taskbar, 52 px on this screen";
        EXPECT_EQ(rect.right, 480);
        EXPECT_EQ(rect.bottom, 640);
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    device.SetScreenSize(480, 640);
    EXPECT_EQ(
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0),
        IDOK);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_EQ(device.shell.dialogInits.size(), 1u);
    EXPECT_EQ(device.shell.dialogInits[0].flags, 0x000Du);
}

// A dialog of its own with no button 1: OK exists only in the caption, if at all.
const res::Control kLabel[] = {
    {TEXT("STATIC"), TEXT("label"), -1, WS_CHILD | WS_VISIBLE, 0, 4, 4, 40, 8}};
const res::Dialog kPlain = {900,
                            TEXT("Plain"),
                            WS_POPUP | WS_VISIBLE | WS_CAPTION,
                            0,
                            0,
                            0,
                            80,
                            40,
                            TEXT("Tahoma"),
                            8,
                            kLabel,
                            {}};

TEST_F(DialogModalTest, CaptionOkComesWithTheDoneButtonOnly) {
    bool withDone = false;
    onDialog = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG && withDone) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON};
            SHInitDialog(&info);
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
            EndDialog(dialog, IDOK);
        if (message == WM_TIMER)
            EndDialog(dialog, 99);
        return FALSE;
    };
    At(100, [this] {
        EXPECT_FALSE(device.ClickButton(IDOK));
        EXPECT_NE(device.ForegroundDialog(), nullptr);
        EXPECT_NE(SetTimer(device.ForegroundDialog(), 1, 10, nullptr), 0u);
    });
    At(500, [] {}); // keeps the run going past the timer

    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kPlain, nullptr, LoggingDialogProc, 0), 99);
    withDone = true;
    At(200, [this] { EXPECT_TRUE(device.ClickButton(IDOK)); });
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kPlain, nullptr, LoggingDialogProc, 0), IDOK);
}

TEST_F(DialogModalTest, AboutBoxIsShownByItsRunAndClosesWithItsCaptionOk) {
    onDialog = EndOnButtons;
    At(100, [this] {
        const HWND box = device.ForegroundDialog();
        EXPECT_TRUE(IsWindowVisible(box));
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    EXPECT_EQ(
        DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, LoggingDialogProc, 0),
        IDOK);
}

struct BoxCase {
    int line;
    UINT type;
    int press; // the button the user presses; 0: the Esc key
    bool pressable;
    int result;
};

TEST_F(DialogModalTest, MessageBoxesReturnTheButtonPressed) {
    const BoxCase cases[] = {
        {__LINE__, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND, IDOK, true, IDOK},
        {__LINE__, MB_OK, 0, true, IDOK}, // Esc on a box with only OK
        {__LINE__, MB_OKCANCEL, IDCANCEL, true, IDCANCEL},
        {__LINE__, MB_OKCANCEL, 0, true, IDCANCEL},
        {__LINE__, MB_YESNO, IDYES, true, IDYES},
        {__LINE__, MB_YESNO, IDCANCEL, false, IDNO},
        {__LINE__, MB_YESNOCANCEL, IDNO, true, IDNO},
    };
    for (const BoxCase& c : cases) {
        At(device.Now() + 100, [this, c] {
            EXPECT_NE(device.OpenMessageBox(), nullptr) << "table line " << c.line;
            if (c.press == 0) {
                device.TapKey(VK_ESCAPE);
                return;
            }
            EXPECT_EQ(device.ClickButton(c.press), c.pressable) << "table line " << c.line;
            if (!c.pressable) {
                EXPECT_TRUE(device.ClickButton(IDNO));
            }
        });
        EXPECT_EQ(MessageBoxW(nullptr, TEXT("text"), TEXT("Kipo"), c.type), c.result)
            << "table line " << c.line;
        EXPECT_EQ(device.OpenMessageBox(), nullptr) << "table line " << c.line;
    }
}

TEST_F(DialogModalTest, MessageBoxShowsItsTextAndCaptionInFrontOfADisabledOwner) {
    const HWND owner = MakeWindow();
    const WString text = TEXT(
        "Launch Application you want to add to On or Off list and press Application Button 1!");
    At(100, [&] {
        const HWND box = device.OpenMessageBox();
        EXPECT_EQ(GetForegroundWindow(), box);
        EXPECT_EQ(device.MessageBoxText(), text);
        EXPECT_EQ(device.MessageBoxCaption(), WString(TEXT("Kipo")));
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_TRUE(device.ClickButton(IDOK));
    });
    EXPECT_EQ(MessageBoxW(owner, text.c_str(), TEXT("Kipo"), 0x10030), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner));
    At(device.Now() + 100, [this] {
        EXPECT_EQ(device.MessageBoxCaption(), WString(TEXT("Error")));
        EXPECT_EQ(device.MessageBoxText(), WString(100000, 'z'));
        device.ClickButton(IDOK);
    });
    EXPECT_EQ(MessageBoxW(nullptr, WString(100000, 'z').c_str(), nullptr, MB_OK), IDOK);
}

TEST_F(DialogModalTest, MessageBoxRefusesBadRequestsAndEndsOnQuit) {
    EXPECT_EQ(MessageBoxW(nullptr, TEXT("x"), TEXT("y"), 9), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE));
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x55), TEXT("x"), TEXT("y"), MB_OK), 0);
    EXPECT_EQ(device.NewestDialog(), nullptr);
    At(100, [] { PostQuitMessage(0); });
    EXPECT_EQ(MessageBoxW(nullptr, TEXT("x"), TEXT("y"), MB_OK), 0);
    EXPECT_EQ(device.OpenMessageBox(), nullptr);
    MSG msg;
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0)) << "the quit goes on outward";
}

} // namespace
