// Drives the real Kipo.exe under Wine as a user would: waits for its hidden frame and its
// notification icon, taps the icon, chooses commands in the popup menu, works its dialogs, and
// checks what the program shows and stores. Each step prints one line; the exit status is 0
// when every step held.
//
//   kipo_driver KIPO_EXE exit [SHOTS]      tap the icon, choose Exit
//   kipo_driver KIPO_EXE settings [SHOTS]  open Settings, edit it, OK, read the registry
//   kipo_driver KIPO_EXE find [SHOTS]      capture a caption with Application Button 1
//   kipo_driver KIPO_EXE showcase [SHOTS]  Settings as a user who set it up sees it, Cancel
//
// With SHOTS (a Windows folder), the dialogs are saved there as BMP screenshots: the settings
// dialog from showcase (the settings scenario's stored values are odd on purpose), the
// find-window instruction and the Window Found dialog from find.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/driver_steps.h"

namespace {

// The popup of menu 128 as the user sees it ("" is the separator).
const wchar_t* const kPopupItems[] = {L"Settings...", L"&About Kipo...", L"", L"E&xit"};

// Where Kipo.exe keeps its settings: the application name is the executable's.
const wchar_t kSettingsKey[] = L"Software\\Kipo\\Kipo\\Settings";

// Settings dialog controls (template 130) and the Window Found dialog's (template 138).
constexpr int kOnList = 1000;
constexpr int kOffList = 1001;
constexpr int kDefaultAction = 1002;
constexpr int kOnRunList = 1003;
constexpr int kFindWindow = 1005;
constexpr int kWifiDefault = 1008;
constexpr int kOffTakesPrecedence = 1011;
constexpr int kKeepPdaOn = 1012;
constexpr int kFoundCaption = 1006;

std::wstring g_shots; // empty: no screenshots

void Screenshot(HWND window, const wchar_t* name) {
    if (g_shots.empty())
        return;
    const std::wstring path = g_shots + L"\\" + name;
    // The picture waits until the window has painted itself and its controls.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    if (SaveScreenshot(window, path))
        Pass("saved " + Narrow(name));
    else
        Fail("could not save " + Narrow(name)); // a missing picture is no fault of Kipo's
}

// The popup's menu lives in Kipo's process, out of reach from here; its items are checked in
// the resources Kipo.exe carries, which are what LoadMenuW hands the program.
bool CheckPopupItems(const std::wstring& exePath) {
    HMODULE image = LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image == nullptr)
        return Fail("cannot read the resources of Kipo.exe");
    HMENU bar = LoadMenuW(image, MAKEINTRESOURCEW(128));
    HMENU menu = bar != nullptr ? GetSubMenu(bar, 0) : nullptr;
    bool ok = menu != nullptr;
    if (!ok)
        Fail("Kipo.exe has no menu 128 with a popup");
    const int count = ok ? GetMenuItemCount(menu) : 0;
    const int expected = static_cast<int>(sizeof kPopupItems / sizeof kPopupItems[0]);
    if (ok && count != expected)
        ok = Fail("the popup has " + std::to_string(count) + " items, not " +
                  std::to_string(expected));
    for (int i = 0; ok && i < count; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        if (std::wstring(text) != kPopupItems[i])
            ok = Fail("popup item " + std::to_string(i) + " is \"" + Narrow(text) + "\"");
    }
    if (bar != nullptr)
        DestroyMenu(bar);
    FreeLibrary(image);
    return ok && Pass("its popup holds Settings..., About Kipo..., a separator and Exit");
}

HKEY FreshSettingsKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kipo");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kipo");
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Settings as a user left them earlier: values the dialog's controls cannot show among them.
bool SeedSettings() {
    HKEY key = FreshSettingsKey();
    if (key == nullptr)
        return Fail("cannot write the settings to start from");
    const DWORD unknownAction = 5;
    const DWORD unknownFlag = 3;
    const wchar_t onList[] = L"Inbox";
    RegSetValueExW(key, L"DefaultAction", 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&unknownAction), sizeof unknownAction);
    RegSetValueExW(key, L"KeepPDAOn", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&unknownFlag),
                   sizeof unknownFlag);
    RegSetValueExW(key, L"OnList", 0, REG_SZ, reinterpret_cast<const BYTE*>(onList), sizeof onList);
    RegCloseKey(key);
    return Pass("settings seeded: DefaultAction 5, KeepPDAOn 3, OnList \"Inbox\"");
}

// Settings as a user who set Kipo up has them: every value one the dialog offers.
bool SeedUserSettings() {
    HKEY key = FreshSettingsKey();
    if (key == nullptr)
        return Fail("cannot write the settings to start from");
    struct Number {
        const wchar_t* name;
        DWORD value;
    };
    const Number numbers[] = {
        {L"DefaultAction", 2},   // Bluetooth: Turn Off
        {L"WFDefaultAction", 0}, // WiFi: Leave
        {L"BTControl", 0},       // Widcomm
        {L"DefControl", 0},      // Bluetooth
        {L"OffTakesPrecedence", 0}, {L"KeepPDAOn", 1},
    };
    for (const Number& n : numbers)
        RegSetValueExW(key, n.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n.value),
                       sizeof n.value);
    struct Text {
        const wchar_t* name;
        const wchar_t* value;
    };
    const Text texts[] = {
        {L"OnList", L"Phone;Inbox;#wInternet Explorer"},
        {L"OffList", L"HR: ;Desktop"},
        {L"OnRunList", L"Headset Player;#wMSN Messenger"},
    };
    for (const Text& t : texts)
        RegSetValueExW(key, t.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(t.value),
                       static_cast<DWORD>((wcslen(t.value) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return Pass("settings seeded as a user would have stored them");
}

struct StoredValue {
    const wchar_t* name;
    bool text;
    DWORD number;
    const wchar_t* string;
};

// The values as the registry holds them, type included; mismatches are reported when asked.
bool StoredMatches(const StoredValue* values, int count, bool report) {
    bool ok = true;
    auto Fail = [&](const std::string& what) { return report ? ::Fail(what) : false; };
    for (int i = 0; i < count; ++i) {
        const StoredValue& value = values[i];
        DWORD type = 0;
        BYTE data[512] = {};
        DWORD size = sizeof data - sizeof(wchar_t);
        if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, value.name, RRF_RT_ANY, &type, data,
                         &size) != ERROR_SUCCESS) {
            ok = Fail(Narrow(value.name) + " was not written");
            continue;
        }
        if (value.text) {
            const std::wstring got(reinterpret_cast<const wchar_t*>(data));
            if (type != REG_SZ || got != value.string)
                ok = Fail(Narrow(value.name) + " is \"" + Narrow(got) + "\", type " +
                          std::to_string(type));
        } else {
            DWORD got = 0;
            std::memcpy(&got, data, sizeof got);
            if (type != REG_DWORD || size != sizeof(DWORD) || got != value.number)
                ok = Fail(Narrow(value.name) + " is " + std::to_string(static_cast<long>(got)) +
                          ", type " + std::to_string(type));
        }
    }
    return ok;
}

// The frame writes the values after the dialog has closed: wait for them.
bool CheckStored(const StoredValue* values, int count) {
    if (!WaitUntil(10000, [&] { return StoredMatches(values, count, false); })) {
        StoredMatches(values, count, true);
        return false;
    }
    return Pass(count == 1 ? "the value is stored as the dialog left it"
                           : "all nine values are stored as the dialog left them");
}

// Tap, popup, and a choice by keyboard: Down from no selection lands on the first item, Up on
// the last; Return chooses.
bool ChooseFromPopup(Kipo& kipo, UINT key) {
    HWND popup = kipo.TapIcon();
    if (popup == nullptr)
        return false;
    kipo.MenuKey(popup, key);
    kipo.MenuKey(popup, VK_RETURN);
    return kipo.WaitForHidden(popup, "the popup menu");
}

bool RunExit(Kipo& kipo, const std::wstring& exePath) {
    if (!kipo.WaitForFrame() || !kipo.WaitForIcon(true) || !CheckPopupItems(exePath))
        return false;
    if (!ChooseFromPopup(kipo, VK_UP)) // Exit
        return false;
    return kipo.WaitForExit(0) && kipo.WaitForIcon(false);
}

HWND OpenSettings(Kipo& kipo) {
    if (!kipo.WaitForFrame() || !kipo.WaitForIcon(true) || !ChooseFromPopup(kipo, VK_DOWN))
        return nullptr;
    return kipo.WaitForWindow(L"Kipo Settings");
}

bool ExpectText(HWND dialog, int id, const std::wstring& expected, const std::string& what) {
    const std::wstring got = ControlText(dialog, id);
    if (got != expected)
        return Fail(what + " shows \"" + Narrow(got) + "\"");
    return Pass(what + " shows \"" + Narrow(expected) + "\"");
}

bool RunSettings(Kipo& kipo) {
    HWND dialog = OpenSettings(kipo);
    if (dialog == nullptr)
        return false;
    bool ok = ExpectText(dialog, kOnList, L"Inbox", "the on-while-active list") &&
              ExpectText(dialog, kOffList, L"HR: ;", "the off list (its default)");
    if (SendDlgItemMessageW(dialog, kDefaultAction, CB_GETCURSEL, 0, 0) != CB_ERR)
        ok = Fail("the Bluetooth default shows an item for the stored 5");
    if (SendDlgItemMessageW(dialog, kKeepPdaOn, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
        ok = Fail("Keep PDA ON is checked for the stored 3");
    if (!ok)
        return false;
    Pass("values the controls cannot show are shown empty and clear");

    SetControlText(dialog, kOnRunList, L"Bluetooth Console;#wOpera");
    SendDlgItemMessageW(dialog, kWifiDefault, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, kOffTakesPrecedence, BM_SETCHECK, BST_CHECKED, 0);
    if (!kipo.CloseWith(dialog, IDOK, "the settings dialog"))
        return false;
    const StoredValue expected[] = {
        {L"DefaultAction", false, static_cast<DWORD>(-1), nullptr},
        {L"WFDefaultAction", false, 1, nullptr},
        {L"OnList", true, 0, L"Inbox"},
        {L"OffList", true, 0, L"HR: ;"},
        {L"OnRunList", true, 0, L"Bluetooth Console;#wOpera"},
        {L"BTControl", false, 0, nullptr},
        {L"DefControl", false, 0, nullptr},
        {L"OffTakesPrecedence", false, 1, nullptr},
        {L"KeepPDAOn", false, 0, nullptr},
    };
    if (!CheckStored(expected, static_cast<int>(sizeof expected / sizeof expected[0])))
        return false;
    return ChooseFromPopup(kipo, VK_UP) && kipo.WaitForExit(0);
}

// The settings dialog with a user's values, for the screenshot; Cancel leaves them as they were.
bool RunShowcase(Kipo& kipo) {
    HWND dialog = OpenSettings(kipo);
    if (dialog == nullptr)
        return false;
    if (!ExpectText(dialog, kOnList, L"Phone;Inbox;#wInternet Explorer",
                    "the on-while-active list"))
        return false;
    if (SendDlgItemMessageW(dialog, kDefaultAction, CB_GETCURSEL, 0, 0) != 2)
        return Fail("the Bluetooth default does not show the stored Turn Off");
    Pass("the Bluetooth default shows Turn Off");
    Screenshot(dialog, L"settings-dialog.bmp");
    if (!kipo.CloseWith(dialog, IDCANCEL, "the settings dialog"))
        return false;
    return ChooseFromPopup(kipo, VK_UP) && kipo.WaitForExit(0);
}

// A program of the user's, brought to the front for capture: a plain window of this driver.
HWND ShowUserProgram(const wchar_t* caption) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"KipoDriverUserProgram";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  40, 40, 420, 300, nullptr, nullptr, wc.hInstance, nullptr);
    if (window != nullptr) {
        SetForegroundWindow(window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return window;
}

bool RunFind(Kipo& kipo) {
    HWND dialog = OpenSettings(kipo);
    if (dialog == nullptr)
        return false;
    ClickButton(dialog, kFindWindow);
    HWND box = kipo.WaitForWindow(L"Kipo");
    if (box == nullptr)
        return false;
    Screenshot(box, L"find-window-instruction.bmp");
    if (!kipo.CloseWith(box, IDOK, "the instruction") ||
        !kipo.WaitForHidden(dialog, "the settings dialog, hidden by find-window mode,"))
        return false;

    HWND program = ShowUserProgram(L"Calendar");
    if (program == nullptr)
        return Fail("cannot show the user's program");
    Pass("the user's program \"Calendar\" is in front");
    // The mode takes the button every 500 ms; press it once it surely holds it.
    Sleep(700);
    PressWithWinKey(0xC1);
    HWND found = kipo.WaitForWindow(L"Window Found");
    bool ok = found != nullptr && ExpectText(found, kFoundCaption, L"Calendar",
                                             "the Window Found dialog's caption field");
    if (ok) {
        Screenshot(found, L"window-found-dialog.bmp");
        // "Add To", with the list it offers first: on while active.
        ok = kipo.CloseWith(found, IDOK, "the Window Found dialog") &&
             kipo.WaitForWindow(L"Kipo Settings") != nullptr &&
             ExpectText(dialog, kOnList, L"Inbox;Calendar", "the on-while-active list");
    }
    DestroyWindow(program);
    if (!ok)
        return false;
    if (!kipo.CloseWith(dialog, IDOK, "the settings dialog"))
        return false;
    const StoredValue onList[] = {{L"OnList", true, 0, L"Inbox;Calendar"}};
    if (!CheckStored(onList, 1))
        return false;
    return ChooseFromPopup(kipo, VK_UP) && kipo.WaitForExit(0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: kipo_driver KIPO_EXE exit|settings|find|showcase [SHOTS]\n");
        return 2;
    }
    const std::wstring scenario = argv[2];
    if (argc == 4)
        g_shots = argv[3];
    if (scenario != L"exit" && scenario != L"settings" && scenario != L"find" &&
        scenario != L"showcase") {
        std::fprintf(stderr, "kipo_driver: unknown scenario \"%ls\"\n", scenario.c_str());
        return 2;
    }
    if (!(scenario == L"showcase" ? SeedUserSettings() : SeedSettings()))
        return 1;
    Kipo kipo;
    bool ok = kipo.Start(argv[1], L"");
    if (ok && scenario == L"exit")
        ok = RunExit(kipo, argv[1]);
    else if (ok && scenario == L"settings")
        ok = RunSettings(kipo);
    else if (ok && scenario == L"showcase")
        ok = RunShowcase(kipo);
    else if (ok)
        ok = RunFind(kipo);
    kipo.StopIfRunning();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kipo");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Kipo");
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
