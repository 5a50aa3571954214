#include "tests/wine/driver_steps.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 30000; // a cold Wine start of a GUI program is slow
constexpr DWORD kStepTimeoutMs = 10000;
constexpr UINT kIconId = 1;
constexpr UINT kIconCallback = WM_USER + 2;

struct Search {
    const Kipo* kipo;
    DWORD processId;
    std::wstring className; // empty: any
    std::wstring caption;   // empty: any
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId)
        return TRUE;
    if (search.visibleOnly && !IsWindowVisible(window))
        return TRUE;
    wchar_t text[256] = {};
    if (!search.className.empty()) {
        GetClassNameW(window, text, 256);
        if (search.className != text)
            return TRUE;
    }
    if (!search.caption.empty()) {
        GetWindowTextW(window, text, 256);
        if (search.caption != text)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD processId, const std::wstring& className, const std::wstring& caption,
                  bool visibleOnly) {
    Search search{nullptr, processId, className, caption, visibleOnly, nullptr};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool Pass(const std::string& what) {
    std::printf("ok    %s\n", what.c_str());
    std::fflush(stdout);
    return true;
}

bool Fail(const std::string& what) {
    std::printf("FAIL  %s\n", what.c_str());
    std::fflush(stdout);
    return false;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring ControlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr)
        return L"<no control " + std::to_wstring(id) + L">";
    const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as BMP files keep their rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        FILE* out = _wfopen(path.c_str(), L"wb");
        ok = out != nullptr && std::fwrite(&file, sizeof file, 1, out) == 1 &&
             std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
             std::fwrite(bits, imageSize, 1, out) == 1;
        if (out != nullptr)
            ok = std::fclose(out) == 0 && ok;
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void PressWithWinKey(WORD key) {
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_LWIN, key, key, VK_LWIN};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

Kipo::~Kipo() {
    StopIfRunning();
}

bool Kipo::Start(const std::wstring& exePath, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_))
        return Fail("cannot start " + Narrow(exePath) + " (error " +
                    std::to_string(GetLastError()) + ")");
    return Pass("started " + Narrow(exePath));
}

bool Kipo::OwnedByKipo(HWND window) const {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == process_.dwProcessId;
}

bool Kipo::WaitForFrame() {
    const bool found = WaitUntil(kStartTimeoutMs, [&] {
        frame_ = FindTopLevel(process_.dwProcessId, L"", L"Kipo", false);
        return frame_ != nullptr;
    });
    if (!found)
        return Fail("no window captioned \"Kipo\" appeared");
    if (IsWindowVisible(frame_))
        return Fail("the frame window is visible");
    return Pass("the frame window \"Kipo\" exists and is hidden");
}

bool Kipo::IconPresent() const {
    // Modifying nothing succeeds exactly when the shell has the icon.
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = frame_;
    data.uID = kIconId;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Kipo::WaitForIcon(bool present) {
    if (!WaitUntil(kStepTimeoutMs, [&] { return IconPresent() == present; }))
        return Fail(present ? "no notification icon appeared" : "the notification icon remains");
    return Pass(present ? "the notification icon is shown" : "the notification icon is removed");
}

HWND Kipo::TapIcon() {
    PostMessageW(frame_, kIconCallback, kIconId, WM_LBUTTONDOWN);
    HWND popup = nullptr;
    if (!WaitUntil(kStepTimeoutMs, [&] {
            popup = FindTopLevel(process_.dwProcessId, L"#32768", L"", true);
            return popup != nullptr;
        })) {
        Fail("no popup menu opened on a tap on the icon");
        return nullptr;
    }
    Pass("a tap on the icon opens the popup menu");
    return popup;
}

void Kipo::MenuKey(HWND popup, UINT key) {
    PostMessageW(popup, WM_KEYDOWN, key, 1);
    PostMessageW(popup, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

HWND Kipo::WaitForWindow(const std::wstring& caption) {
    HWND window = nullptr;
    if (!WaitUntil(kStepTimeoutMs, [&] {
            window = FindTopLevel(process_.dwProcessId, L"", caption, true);
            return window != nullptr;
        })) {
        Fail("no window \"" + Narrow(caption) + "\" appeared");
        return nullptr;
    }
    // A modal dialog shows itself (again) the first time its loop runs out of messages; a
    // click before that moment, faster than any user's, would have a hidden dialog shown
    // again. Let the loop run dry: a round trip through it, a pause with nothing posted, and
    // another round trip.
    DWORD_PTR reply = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &reply);
    Sleep(200);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &reply);
    Pass("the window \"" + Narrow(caption) + "\" shows");
    return window;
}

bool Kipo::WaitForHidden(HWND window, const std::string& what) {
    if (!WaitUntil(kStepTimeoutMs, [&] { return !IsWindowVisible(window); }))
        return Fail(what + " stays on the screen");
    return Pass(what + " is gone from the screen");
}

bool Kipo::CloseWith(HWND window, int id, const std::string& what) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        ClickButton(window, id);
        if (WaitUntil(1000, [&] { return !IsWindowVisible(window); }))
            return Pass(what + " is gone from the screen");
    }
    return Fail(what + " stays on the screen");
}

bool Kipo::WaitForExit(DWORD expectedCode) {
    if (WaitForSingleObject(process_.hProcess, kStepTimeoutMs) != WAIT_OBJECT_0)
        return Fail("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    if (code != expectedCode)
        return Fail("the program ended with status " + std::to_string(code));
    return Pass("the program ended with status " + std::to_string(code));
}

void Kipo::StopIfRunning() {
    if (process_.hProcess == nullptr)
        return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, kStepTimeoutMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
}
