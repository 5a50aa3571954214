// Steps of driving the real Kipo.exe from another process, on real time: each waits for what
// the user would see, up to a time-out, and reports one line.
#pragma once

#include <windows.h>

#include <string>

bool Pass(const std::string& what);
bool Fail(const std::string& what);
std::string Narrow(const std::wstring& text);

// Runs `test` every 50 ms until it holds or `timeoutMs` have passed.
template <class Test> bool WaitUntil(DWORD timeoutMs, Test test) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (test())
            return true;
        if (GetTickCount64() >= end)
            return false;
        Sleep(50);
    }
}

// A dialog control of another process, through messages Windows carries across processes.
std::wstring ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::wstring& text);
// The button's click as its dialog receives it (BN_CLICKED from the button).
void ClickButton(HWND dialog, int id);

// The window as it shows on the screen, saved as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::wstring& path);

// Presses and releases a key with the Windows key held, as the input hardware would.
void PressWithWinKey(WORD key);

class Kipo {
  public:
    Kipo() = default;
    ~Kipo();
    Kipo(const Kipo&) = delete;
    Kipo& operator=(const Kipo&) = delete;

    bool Start(const std::wstring& exePath, const std::wstring& arguments);
    // The hidden frame window captioned "Kipo" of this process.
    bool WaitForFrame();
    HWND Frame() const { return frame_; }
    // Whether the shell holds icon 1 of the frame, as `present` wants.
    bool WaitForIcon(bool present);
    // Posts the shell's callback for a left-button press on the icon; returns the popup menu
    // window once it shows, or null.
    HWND TapIcon();
    // A key press inside the popup menu's loop.
    void MenuKey(HWND popup, UINT key);
    // A visible top-level window of Kipo's with this caption, or null.
    HWND WaitForWindow(const std::wstring& caption);
    // Waits until `window` is no longer visible (hidden or gone).
    bool WaitForHidden(HWND window, const std::string& what);
    // Clicks the button of `id` until `window` leaves the screen: a click that reaches a
    // dialog still setting itself up can go unanswered, as a user's can.
    bool CloseWith(HWND window, int id, const std::string& what);
    bool WaitForExit(DWORD expectedCode);
    void StopIfRunning();

  private:
    bool IconPresent() const;
    bool OwnedByKipo(HWND window) const;

    PROCESS_INFORMATION process_ = {};
    HWND frame_ = nullptr;
};
