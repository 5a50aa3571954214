// Hot keys and key state: registration rules, who gets WM_HOTKEY, the shell's hold on
// Application Button 1, and GetAsyncKeyState.
#include <gtest/gtest.h>

#include "platform/sim/message_loop.h"
#include "tests/device/windows/message_log.h"
#include "tests/support/device_test.h"

using namespace windows_test;

namespace {

constexpr UINT kAppButton = VK_APP1;
constexpr UINT kWinKeyUp = MOD_WIN | MOD_KEYUP; // 0x1008, as find-window mode asks

class KeysTest : public DeviceTest {
  protected:
    KeysTest() {
        MessageLog::RegisterClassFor(TEXT("Keys"));
        window = CreateWindowExW(0, TEXT("Keys"), TEXT("k"), 0, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        log.Clear(); // the creation messages are not what these tests look at
    }
    // Presses in the agenda and pumps the messages that follow.
    void Run(std::function<void()> action) {
        device.scheduler.At(device.Now() + 1, std::move(action));
        sim::RunMessageLoop();
    }
    std::vector<Logged> HotKeys() const {
        std::vector<Logged> keys;
        for (const Logged& entry : log.entries)
            if (entry.message == WM_HOTKEY)
                keys.push_back(entry);
        return keys;
    }
    MessageLog log;
    HWND window = nullptr;
};

TEST_F(KeysTest, TheShellHoldsApplicationButtonOneUntilReleased) {
    SetLastError(0);
    EXPECT_FALSE(RegisterHotKey(window, 0xC1, kWinKeyUp, kAppButton));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_TRUE(UnregisterFunc1(MOD_WIN, kAppButton));
    EXPECT_TRUE(RegisterHotKey(window, 0xC1, kWinKeyUp, kAppButton));
    EXPECT_FALSE(UnregisterFunc1(MOD_WIN, VK_APP2)) << "nobody holds button 2";
}

TEST_F(KeysTest, SecondRegistrationFailsWith1409) {
    UnregisterFunc1(MOD_WIN, kAppButton);
    struct Case {
        int line;
        int id;
        UINT modifiers;
        UINT key;
        bool ok;
    };
    const Case cases[] = {
        {__LINE__, 0xC1, kWinKeyUp, kAppButton, true},
        {__LINE__, 0xC1, kWinKeyUp, kAppButton, false}, // the same again
        {__LINE__, 0xC2, MOD_WIN, kAppButton, false},   // same key, key-up flag aside
        {__LINE__, 0xC1, MOD_WIN, VK_APP2, true},       // same id, other key: kept beside
        {__LINE__, 0xC2, MOD_WIN, VK_APP2, false},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(RegisterHotKey(window, c.id, c.modifiers, c.key) != FALSE, c.ok)
            << "case at line " << c.line;
        if (!c.ok) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED))
                << "case at line " << c.line;
        }
    }
    EXPECT_TRUE(UnregisterHotKey(window, 0xC1)); // the older one, on button 1
    EXPECT_TRUE(RegisterHotKey(window, 0xC3, MOD_WIN, kAppButton));
    EXPECT_TRUE(UnregisterHotKey(window, 0xC1));
    SetLastError(0);
    EXPECT_FALSE(UnregisterHotKey(window, 0xC1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_NOT_REGISTERED));
}

TEST_F(KeysTest, PressAndReleaseReachTheHolder) {
    UnregisterFunc1(MOD_WIN, kAppButton);
    ASSERT_TRUE(RegisterHotKey(window, 0xC1, kWinKeyUp, kAppButton));
    Run([&] { device.TapKey(kAppButton); });
    EXPECT_SEQUENCE(log,
                    {{WM_HOTKEY, kBoth, 0xC1, MAKELPARAM(MOD_WIN, kAppButton)},
                     {WM_HOTKEY, kBoth, 0xC1, MAKELPARAM(kWinKeyUp, kAppButton)}},
                    window);

    // Without MOD_KEYUP only the press is heard.
    UnregisterHotKey(window, 0xC1);
    RegisterHotKey(window, 0xC1, MOD_WIN, kAppButton);
    log.Clear();
    Run([&] { device.TapKey(kAppButton); });
    EXPECT_EQ(HotKeys().size(), 1u);
}

TEST_F(KeysTest, HotKeysEndWithTheirWindow) {
    UnregisterFunc1(MOD_WIN, kAppButton);
    RegisterHotKey(window, 0xC1, kWinKeyUp, kAppButton);
    DestroyWindow(window);
    HWND other = CreateWindowExW(0, TEXT("Keys"), TEXT("o"), 0, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_TRUE(RegisterHotKey(other, 0xC1, kWinKeyUp, kAppButton));
}

TEST_F(KeysTest, RegistrationNeedsAWindowOfTheCaller) {
    HWND foreign = device.OpenWindow(TEXT("Foreign"));
    SetLastError(0);
    EXPECT_FALSE(RegisterHotKey(foreign, 1, 0, 'Q'));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WINDOW_OF_OTHER_THREAD));
    EXPECT_FALSE(RegisterHotKey(reinterpret_cast<HWND>(0x999), 1, 0, 'Q'));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(KeysTest, KeysWithoutAHotKeyGoToTheFocus) {
    SetForegroundWindow(window);
    ASSERT_EQ(GetFocus(), window);
    log.Clear();
    Run([&] { device.TapKey(VK_DOWN); });
    EXPECT_SEQUENCE(log, {{WM_KEYDOWN, kWParam, VK_DOWN}, {WM_KEYUP, kWParam, VK_DOWN}}, window);
    // The shell's hot key swallows button 1: nothing reaches the program.
    log.Clear();
    Run([&] { device.TapKey(kAppButton); });
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(KeysTest, AsyncKeyStateHasBit15WhileDown) {
    struct Step {
        int line;
        std::function<void()> action;
        int key;
        SHORT expected;
    };
    const Step steps[] = {
        {__LINE__, [] {}, VK_UP, 0},
        {__LINE__, [&] { device.PressKey(VK_UP); }, VK_UP, static_cast<SHORT>(0x8000)},
        {__LINE__, [] {}, VK_UP, static_cast<SHORT>(0x8000)}, // still down: no edge bit
        {__LINE__, [] {}, VK_DOWN, 0},
        {__LINE__, [&] { device.ReleaseKey(VK_UP); }, VK_UP, 0},
        {__LINE__, [] {}, -1, 0},
        {__LINE__, [] {}, 300, 0},
        {__LINE__, [] {}, 0x7FFFFFFF, 0},
    };
    for (const Step& s : steps) {
        s.action();
        EXPECT_EQ(GetAsyncKeyState(s.key), s.expected) << "step at line " << s.line;
    }
    EXPECT_NE(GetAsyncKeyState(VK_UP) & 0x8000, 0x8000);
}

} // namespace
