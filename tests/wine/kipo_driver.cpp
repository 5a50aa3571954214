// Drives the real Kipo.exe under Wine as a user would: waits for its hidden frame and its
// notification icon, taps the icon, chooses a command in the popup menu, and checks that the
// program ends by Exit with its icon removed. Each step prints one line; the exit status is
// 0 when every step held.
//
//   kipo_driver KIPO_EXE exit       tap the icon, check the popup's items, choose Exit
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/driver_steps.h"

namespace {

// The popup of menu 128 as the user sees it ("" is the separator).
const wchar_t* const kPopupItems[] = {L"Settings...", L"&About Kipo...", L"", L"E&xit"};

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

// Tap, popup, Exit: the whole life of the program as the user ends it.
bool RunExit(Kipo& kipo, const std::wstring& exePath) {
    if (!kipo.WaitForFrame() || !kipo.WaitForIcon(true))
        return false;
    HWND popup = kipo.TapIcon();
    if (popup == nullptr || !CheckPopupItems(exePath))
        return false;
    // Up from no selection lands on the last item, Exit; Return chooses it.
    kipo.MenuKey(popup, VK_UP);
    kipo.MenuKey(popup, VK_RETURN);
    if (!kipo.WaitForExit(0))
        return false;
    return kipo.WaitForIcon(false);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kipo_driver KIPO_EXE exit\n");
        return 2;
    }
    const std::wstring scenario = argv[2];
    Kipo kipo;
    if (!kipo.Start(argv[1], L""))
        return 1;
    bool ok = false;
    if (scenario == L"exit") {
        ok = RunExit(kipo, argv[1]);
    } else {
        std::fprintf(stderr, "kipo_driver: unknown scenario \"%ls\"\n", scenario.c_str());
        return 2;
    }
    kipo.StopIfRunning();
    std::printf("%s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
