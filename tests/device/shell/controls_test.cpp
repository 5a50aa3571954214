// The system controls: drop-down list messages, edits of any length, buttons and radio groups,
// and what the simulated user can and cannot do to them.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "tests/device/shell/shell_fixture.h"

namespace {

class ControlsTest : public ShellTest {
  protected:
    HWND Child(const WCHAR* className, DWORD style, int id = 10) {
        if (parent == nullptr)
            parent = MakeWindow();
        return CreateWindowExW(0, className, TEXT(""), WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 50,
                               parent, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)), nullptr,
                               nullptr);
    }
    // Handles what is queued, as a dialog's loop does.
    void Pump(HWND dialog) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog, &msg))
                DispatchMessageW(&msg);
    }
    // WM_COMMAND notifications the window or dialog got: (control id, code).
    std::vector<std::pair<int, int>> Notifications() const {
        std::vector<std::pair<int, int>> found;
        for (const LoggedMessage& m : Received(WM_COMMAND))
            found.emplace_back(LOWORD(m.wParam), HIWORD(m.wParam));
        return found;
    }
    HWND parent = nullptr;
};

struct ComboStep {
    int line;
    UINT message;
    WPARAM wParam;
    const WCHAR* text;
    LRESULT result;
    int selectionAfter;
    int countAfter;
};

TEST_F(ControlsTest, DropDownListAnswersItsMessages) {
    const HWND combo = Child(TEXT("COMBOBOX"), CBS_DROPDOWNLIST | WS_VSCROLL);
    ASSERT_NE(combo, nullptr);
    const WPARAM none = static_cast<WPARAM>(-1);
    const ComboStep steps[] = {
        {__LINE__, CB_GETCOUNT, 0, nullptr, 0, -1, 0},
        {__LINE__, CB_ADDSTRING, 0, TEXT("Leave"), 0, -1, 1},
        {__LINE__, CB_ADDSTRING, 0, TEXT("Turn On"), 1, -1, 2},
        {__LINE__, CB_ADDSTRING, 0, TEXT("Turn Off"), 2, -1, 3},
        {__LINE__, CB_ADDSTRING, 0, nullptr, CB_ERR, -1, 3},
        {__LINE__, CB_SETCURSEL, 1, nullptr, 1, 1, 3},
        {__LINE__, CB_SETCURSEL, 5, nullptr, CB_ERR, -1, 3},
        {__LINE__, CB_SETCURSEL, 2, nullptr, 2, 2, 3},
        {__LINE__, CB_SETCURSEL, none, nullptr, CB_ERR, -1, 3},
        {__LINE__, CB_SETCURSEL, 2, nullptr, 2, 2, 3},
        {__LINE__, CB_DELETESTRING, 0, nullptr, 2, 1, 2},
        {__LINE__, CB_GETLBTEXTLEN, 1, nullptr, 8, 1, 2},
        {__LINE__, CB_GETLBTEXTLEN, 7, nullptr, CB_ERR, 1, 2},
        {__LINE__, CB_INSERTSTRING, 0, TEXT("Leave"), 0, 2, 3},
        {__LINE__, CB_INSERTSTRING, 9, TEXT("Nowhere"), CB_ERR, 2, 3},
        {__LINE__, CB_FINDSTRINGEXACT, none, TEXT("turn on"), 1, 2, 3},
        {__LINE__, CB_FINDSTRINGEXACT, none, TEXT("Turn"), CB_ERR, 2, 3},
        {__LINE__, CB_DELETESTRING, 2, nullptr, 2, -1, 2},
        {__LINE__, CB_RESETCONTENT, 0, nullptr, 0, -1, 0},
    };
    for (const ComboStep& s : steps) {
        EXPECT_EQ(SendMessageW(combo, s.message, s.wParam, reinterpret_cast<LPARAM>(s.text)),
                  s.result)
            << "table line " << s.line;
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), s.selectionAfter)
            << "table line " << s.line;
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), s.countAfter) << "table line " << s.line;
    }
}

TEST_F(ControlsTest, DropDownListTextIsTheSelectedItem) {
    const HWND combo = Child(TEXT("COMBOBOX"), CBS_DROPDOWNLIST);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TEXT("Widcomm")));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(TEXT("Microsoft")));
    WCHAR text[32] = {'?'};
    EXPECT_EQ(GetWindowTextW(combo, text, 32), 0);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(GetWindowTextW(combo, text, 32), 9);
    EXPECT_EQ(WString(text), WString(TEXT("Microsoft")));
    WCHAR item[32] = {};
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item)), 7);
    EXPECT_EQ(WString(item), WString(TEXT("Widcomm")));
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 0, 0), CB_ERR) << "no buffer";
    // Without typing, a text that names no item cannot be set.
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TEXT("Other"))), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(TEXT("widcomm"))), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ControlsTest, SortedListInsertsInOrderAndUnsortedKeepsIt) {
    const HWND sorted = Child(TEXT("COMBOBOX"), CBS_DROPDOWNLIST | CBS_SORT, 11);
    const HWND plain = Child(TEXT("COMBOBOX"), CBS_DROPDOWNLIST, 12);
    for (const WCHAR* item : {TEXT("b"), TEXT("A"), TEXT("c")}) {
        SendMessageW(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(plain, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    auto items = [](HWND combo) {
        WString all;
        for (int i = 0; i < 3; ++i) {
            WCHAR text[8] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            all += text;
        }
        return all;
    };
    EXPECT_EQ(items(sorted), WString(TEXT("Abc")));
    EXPECT_EQ(items(plain), WString(TEXT("bAc")));
}

TEST_F(ControlsTest, EditKeepsTextOfAnyLengthAndTellsItsParent) {
    const HWND edit = Child(TEXT("EDIT"), ES_AUTOHSCROLL | WS_BORDER, 1000);
    const WString longText(100000, 'w');
    EXPECT_TRUE(SetDlgItemTextW(parent, 1000, longText.c_str()));
    EXPECT_EQ(GetWindowTextLengthW(edit), 100000);
    std::vector<WCHAR> buffer(100001);
    EXPECT_EQ(GetDlgItemTextW(parent, 1000, buffer.data(), 100001), 100000u);
    EXPECT_EQ(WString(buffer.data()), longText);
    WCHAR small[10];
    EXPECT_EQ(GetDlgItemTextW(parent, 1000, small, 10), 9u);
    EXPECT_EQ(WString(small), WString(9, 'w'));
    EXPECT_EQ(Notifications(), (std::vector<std::pair<int, int>>{{1000, EN_CHANGE}}));
    // A text with a line break or a NUL-free tail is kept exactly.
    const WString odd = TEXT("a;b\r\nc\t");
    SetWindowTextW(edit, odd.c_str());
    EXPECT_EQ(GetDlgItemTextW(parent, 1000, buffer.data(), 100), odd.size());
    EXPECT_EQ(WString(buffer.data()), odd);
    WCHAR none[4] = {'x', 'x', 'x', 0};
    EXPECT_EQ(GetDlgItemTextW(parent, 4242, none, 4), 0u);
    EXPECT_EQ(none[0], 0) << "no such control: an empty text";
}

struct CheckCase {
    int line;
    DWORD style;
    UINT set;
    UINT read;
};

TEST_F(ControlsTest, CheckStatesAsEachButtonKindKeepsThem) {
    const CheckCase cases[] = {
        {__LINE__, BS_AUTOCHECKBOX, BST_CHECKED, BST_CHECKED},
        {__LINE__, BS_AUTOCHECKBOX, BST_INDETERMINATE, BST_CHECKED}, // two states only
        {__LINE__, BS_AUTOCHECKBOX, 7, BST_CHECKED},
        {__LINE__, BS_AUTO3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
        {__LINE__, BS_AUTORADIOBUTTON, BST_CHECKED, BST_CHECKED},
        {__LINE__, BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
        {__LINE__, BS_DEFPUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
        {__LINE__, BS_GROUPBOX, BST_CHECKED, BST_UNCHECKED},
    };
    int id = 100;
    for (const CheckCase& c : cases) {
        Child(TEXT("BUTTON"), c.style, ++id);
        EXPECT_TRUE(CheckDlgButton(parent, id, c.set)) << "table line " << c.line;
        EXPECT_EQ(IsDlgButtonChecked(parent, id), c.read) << "table line " << c.line;
    }
    EXPECT_FALSE(CheckDlgButton(parent, 4242, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(parent, 4242), 0u);
}

TEST_F(ControlsTest, ClickTogglesAnAutoCheckBoxAndNotifiesUnlessDisabled) {
    const HWND box = Child(TEXT("BUTTON"), BS_AUTOCHECKBOX | WS_TABSTOP, 1012);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(parent, 1012), static_cast<UINT>(BST_CHECKED));
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(parent, 1012), static_cast<UINT>(BST_UNCHECKED));
    EnableWindow(box, FALSE);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(parent, 1012), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(Notifications(),
              (std::vector<std::pair<int, int>>{{1012, BN_CLICKED}, {1012, BN_CLICKED}}));
}

class RadioGroupTest : public ControlsTest {
  protected:
    void SetUp() override {
        dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND), nullptr,
                                    LoggingDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        log.clear();
    }
    std::vector<UINT> States() const {
        return {IsDlgButtonChecked(dialog, IDC_LIST_ACTIVE),
                IsDlgButtonChecked(dialog, IDC_LIST_RUNNING),
                IsDlgButtonChecked(dialog, IDC_LIST_OFF),
                IsDlgButtonChecked(dialog, IDC_CONTINUEFIND)};
    }
    HWND dialog = nullptr;
};

TEST_F(RadioGroupTest, ChoosingARadioClearsItsGroupOnly) {
    CheckDlgButton(dialog, IDC_LIST_ACTIVE, BST_CHECKED);
    CheckDlgButton(dialog, IDC_CONTINUEFIND, BST_CHECKED);
    ASSERT_TRUE(device.ChooseRadio(IDC_LIST_RUNNING));
    EXPECT_EQ(States(), (std::vector<UINT>{1, 0, 0, 1})) << "before the loop handles the tap";
    Pump(dialog);
    EXPECT_EQ(States(), (std::vector<UINT>{0, 1, 0, 1}));
    ASSERT_TRUE(device.ChooseRadio(IDC_LIST_OFF));
    Pump(dialog);
    EXPECT_EQ(States(), (std::vector<UINT>{0, 0, 1, 1}));
    EXPECT_EQ(Notifications(), (std::vector<std::pair<int, int>>{{IDC_LIST_RUNNING, BN_CLICKED},
                                                                 {IDC_LIST_OFF, BN_CLICKED}}));
}

TEST_F(RadioGroupTest, CheckRadioButtonGoesByIdentifierRange) {
    CheckDlgButton(dialog, IDC_CONTINUEFIND, BST_CHECKED);
    EXPECT_TRUE(CheckRadioButton(dialog, IDC_LIST_ACTIVE, IDC_LIST_OFF, IDC_LIST_OFF));
    EXPECT_EQ(States(), (std::vector<UINT>{0, 0, 1, 1}));
    // 1007..1010 takes in the check box 1009 too, as Windows does.
    EXPECT_TRUE(CheckRadioButton(dialog, IDC_LIST_ACTIVE, IDC_LIST_RUNNING, IDC_LIST_RUNNING));
    EXPECT_EQ(States(), (std::vector<UINT>{0, 1, 0, 0}));
    EXPECT_TRUE(Notifications().empty()) << "setting a state notifies nobody";
}

struct RefusalCase {
    int line;
    bool result;
};

TEST_F(RadioGroupTest, UserActionsNeedAReachableControlOfTheirKind) {
    const RefusalCase cases[] = {
        {__LINE__, device.ChooseRadio(IDC_CONTINUEFIND)},   // a check box
        {__LINE__, device.SetCheck(IDC_LIST_ACTIVE, true)}, // a radio button
        {__LINE__, device.TypeText(IDC_LIST_ACTIVE, TEXT("x"))},
        {__LINE__, device.SelectItem(IDC_FOUNDCAPTION, 0)}, // an edit
        {__LINE__, device.ClickButton(4242)},
        {__LINE__, device.ClickButton(-1)}, // the static texts
    };
    for (const RefusalCase& c : cases)
        EXPECT_FALSE(c.result) << "table line " << c.line;
    Pump(dialog);
    EXPECT_TRUE(Notifications().empty());
    EnableWindow(GetDlgItem(dialog, IDC_FOUNDCAPTION), FALSE);
    EXPECT_FALSE(device.TypeText(IDC_FOUNDCAPTION, TEXT("x"))) << "disabled";
    ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
    EXPECT_FALSE(device.ClickButton(IDOK)) << "hidden, and no OK in the caption";
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(device.ForegroundDialog(), nullptr);
    EXPECT_FALSE(device.ChooseRadio(IDC_LIST_RUNNING)) << "the dialog is hidden";
    EXPECT_EQ(device.DialogInView(), dialog) << "checks still see the hidden dialog";
}

TEST_F(ControlsTest, TypingReplacesTheWholeTextUpToTheLimit) {
    const HWND dialog = CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_WINDOW_FOUND), nullptr,
                                           LoggingDialogProc, 0);
    SetDlgItemTextW(dialog, IDC_FOUNDCAPTION, TEXT("old text"));
    log.clear();
    ASSERT_TRUE(device.TypeText(IDC_FOUNDCAPTION, TEXT("Calendar")));
    EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("old text")))
        << "typing arrives through the program's loop";
    Pump(dialog);
    EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("Calendar")));
    SendDlgItemMessageW(dialog, IDC_FOUNDCAPTION, EM_LIMITTEXT, 3, 0);
    ASSERT_TRUE(device.TypeText(IDC_FOUNDCAPTION, TEXT("Calendar")));
    Pump(dialog);
    EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("Cal")));
    SetDlgItemTextW(dialog, IDC_FOUNDCAPTION, TEXT("Calendar"));
    EXPECT_EQ(device.ControlText(IDC_FOUNDCAPTION), WString(TEXT("Calendar")))
        << "the limit binds the user only";
    EXPECT_EQ(Notifications().size(), 3u);
}

TEST_F(ControlsTest, SelectingAndCheckingAsTheUserNotifyOnlyOnChange) {
    SHInitExtraControls();
    const HWND dialog =
        CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, LoggingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    for (const WCHAR* item : {TEXT("Leave"), TEXT("Turn On"), TEXT("Turn Off")})
        SendDlgItemMessageW(dialog, IDC_DEFAULTACTION, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    log.clear();
    EXPECT_FALSE(device.SelectItem(IDC_DEFAULTACTION, 3)) << "no fourth item";
    EXPECT_FALSE(device.SelectItem(IDC_DEFAULTACTION, -2));
    EXPECT_FALSE(device.SelectItem(IDC_MATCH, 0)) << "hidden";
    ASSERT_TRUE(device.SelectItem(IDC_DEFAULTACTION, 2));
    Pump(dialog);
    EXPECT_EQ(device.ControlSelection(IDC_DEFAULTACTION), 2);
    EXPECT_EQ(device.ControlText(IDC_DEFAULTACTION), WString(TEXT("Turn Off")));
    ASSERT_TRUE(device.SelectItem(IDC_DEFAULTACTION, -1));
    Pump(dialog);
    EXPECT_EQ(device.ControlSelection(IDC_DEFAULTACTION), -1);
    ASSERT_TRUE(device.SetCheck(IDC_KEEPPDAON, false)); // already clear: nothing to tap
    ASSERT_TRUE(device.SetCheck(IDC_OFFTAKESPRECEDENCE, true));
    Pump(dialog);
    EXPECT_EQ(device.ControlChecked(IDC_OFFTAKESPRECEDENCE), true);
    EXPECT_EQ(device.ControlChecked(IDC_KEEPPDAON), false);
    EXPECT_EQ(device.ControlChecked(IDC_ONLIST), std::nullopt) << "an edit has no check state";
    EXPECT_EQ(device.ControlSelection(IDC_ONLIST), std::nullopt);
    EXPECT_EQ(device.ControlText(4242), std::nullopt);
    EXPECT_EQ(Notifications(),
              (std::vector<std::pair<int, int>>{{IDC_DEFAULTACTION, CBN_SELCHANGE},
                                                {IDC_DEFAULTACTION, CBN_SELCHANGE},
                                                {IDC_OFFTAKESPRECEDENCE, BN_CLICKED}}));
}

} // namespace
