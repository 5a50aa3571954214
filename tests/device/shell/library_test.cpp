// Libraries by name with their handle accounting, and the core library's UnregisterFunc1
// taking Application Button 1 from the shell so that a program can hold it as a hot key.
#include <gtest/gtest.h>

#include "tests/device/shell/shell_fixture.h"

namespace {

using LibraryTest = ShellTest;
using UnregisterFunc1Proc = BOOL (*)(UINT, UINT);

int Libraries(const sim::Device& device) {
    return device.OpenHandles(sim::kProgramProcess, sim::HandleKind::Library);
}

struct NameCase {
    int line;
    const WCHAR* name;
    bool found;
};

TEST_F(LibraryTest, CoreLibraryLoadsByItsNamesAndEachLoadIsAHandle) {
    const NameCase cases[] = {
        {__LINE__, TEXT("coredll.dll"), true},
        {__LINE__, TEXT("COREDLL.DLL"), true},
        {__LINE__, TEXT("coredll"), true},
        {__LINE__, TEXT("\\Windows\\coredll.dll"), true},
        {__LINE__, TEXT("\\Temp\\coredll.dll"), false},
        {__LINE__, TEXT("aygshell.dll"), false},
        {__LINE__, TEXT("coredll.dll "), false},
        {__LINE__, TEXT(""), false},
        {__LINE__, nullptr, false},
    };
    std::vector<HMODULE> loaded;
    for (const NameCase& c : cases) {
        const HMODULE module = LoadLibraryW(c.name);
        EXPECT_EQ(module != nullptr, c.found) << "table line " << c.line;
        if (module != nullptr) {
            EXPECT_TRUE(loaded.empty() || module == loaded.front()) << "table line " << c.line;
            loaded.push_back(module);
        } else {
            EXPECT_NE(GetLastError(), 0u) << "table line " << c.line;
        }
        EXPECT_EQ(Libraries(device), static_cast<int>(loaded.size())) << "table line " << c.line;
    }
    for (HMODULE module : loaded)
        EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(Libraries(device), 0);
    EXPECT_FALSE(FreeLibrary(loaded.front())) << "freed more often than loaded";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(Libraries(device), 0);
}

TEST_F(LibraryTest, ExportsAreFoundByExactNameInALoadedLibraryOnly) {
    const HMODULE core = sim::Libraries::CoreLibrary();
    EXPECT_EQ(GetProcAddressW(core, TEXT("UnregisterFunc1")), nullptr) << "not loaded yet";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ASSERT_EQ(LoadLibraryW(TEXT("coredll.dll")), core);
    EXPECT_NE(GetProcAddressW(core, TEXT("UnregisterFunc1")), nullptr);
    EXPECT_EQ(GetProcAddressW(core, TEXT("unregisterfunc1")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddressW(core, TEXT("UnregisterFunc1\u00e9")), nullptr);
    EXPECT_EQ(GetProcAddressW(core, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(GetProcAddressW(core, nullptr), nullptr);
    EXPECT_TRUE(FreeLibrary(core));
    // Another process's load is its own: it opens no handle of the program.
    {
        sim::Device::ProcessScope shell(device, sim::kShellProcess);
        ASSERT_EQ(LoadLibraryW(TEXT("coredll.dll")), core);
    }
    EXPECT_EQ(Libraries(device), 0);
    EXPECT_EQ(GetProcAddressW(core, TEXT("UnregisterFunc1")), nullptr);
}

class AppButtonTest : public ShellTest {
  protected:
    void SetUp() override { window = MakeWindow(); }
    // The grab as the program makes it: look up the export, release the button, take it.
    BOOL Grab(bool& exportFound) {
        const HMODULE core = LoadLibraryW(TEXT("coredll.dll"));
        auto release = reinterpret_cast<UnregisterFunc1Proc>(
            reinterpret_cast<void (*)()>(GetProcAddressW(core, TEXT("UnregisterFunc1"))));
        exportFound = release != nullptr;
        if (release != nullptr)
            release(MOD_WIN, VK_APP1);
        const BOOL registered = RegisterHotKey(window, VK_APP1, MOD_WIN | MOD_KEYUP, VK_APP1);
        FreeLibrary(core);
        return registered;
    }
    void RunUntilQuit() {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0))
            DispatchMessageW(&msg);
    }
    HWND window = nullptr;
};

TEST_F(AppButtonTest, ShellHoldsTheButtonUntilUnregisterFunc1ReleasesIt) {
    EXPECT_FALSE(RegisterHotKey(window, VK_APP1, MOD_WIN | MOD_KEYUP, VK_APP1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    At(100, [this] { device.TapKey(VK_APP1); });
    bool found = false;
    At(200, [&] { EXPECT_TRUE(Grab(found)); });
    At(300, [this] { device.TapKey(VK_APP1); });
    RunUntilQuit();
    EXPECT_TRUE(found);
    EXPECT_EQ(Libraries(device), 0) << "the grab released its library handle";
    const std::vector<LoggedMessage> hotKeys = Received(WM_HOTKEY, window);
    ASSERT_FALSE(hotKeys.empty()) << "the press after the grab reaches the window";
    for (const LoggedMessage& m : hotKeys) {
        EXPECT_EQ(m.time, 300u) << "the press before the grab went to the shell";
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_APP1));
        EXPECT_EQ(HIWORD(m.lParam), VK_APP1);
    }
}

TEST_F(AppButtonTest, GrabbingAgainKeepsTheButton) {
    bool found = false;
    ASSERT_TRUE(Grab(found));
    // The program repeats the grab while it waits: the release frees its own registration,
    // and the registration takes it again.
    EXPECT_TRUE(Grab(found));
    EXPECT_TRUE(UnregisterHotKey(window, VK_APP1));
    EXPECT_FALSE(UnregisterHotKey(window, VK_APP1));
    EXPECT_EQ(Libraries(device), 0);
}

TEST_F(AppButtonTest, WithoutTheExportTheButtonStaysWithTheShell) {
    device.libraries.SetExportMissing("UnregisterFunc1", true);
    bool found = true;
    EXPECT_FALSE(Grab(found));
    EXPECT_FALSE(found);
    EXPECT_EQ(Libraries(device), 0);
    At(100, [this] { device.TapKey(VK_APP1); });
    RunUntilQuit();
    EXPECT_TRUE(Received(WM_HOTKEY).empty());
    device.libraries.SetExportMissing("UnregisterFunc1", false);
    EXPECT_TRUE(Grab(found));
}

} // namespace
