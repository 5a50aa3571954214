// MessageBoxW: a dialog of its own, made for the text and buttons asked for, run modally.
#include <vector>

#include "platform/platform.h"
#include "platform/resources.h"
#include "platform/sim/device.h"

using sim::Dev;

namespace {

struct Button {
    int id;
    const WCHAR* text;
};

std::vector<Button> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return {{IDOK, TEXT("OK")}};
    case MB_OKCANCEL:
        return {{IDOK, TEXT("OK")}, {IDCANCEL, TEXT("Cancel")}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, TEXT("Abort")}, {IDRETRY, TEXT("Retry")}, {IDIGNORE, TEXT("Ignore")}};
    case MB_YESNOCANCEL:
        return {{IDYES, TEXT("Yes")}, {IDNO, TEXT("No")}, {IDCANCEL, TEXT("Cancel")}};
    case MB_YESNO:
        return {{IDYES, TEXT("Yes")}, {IDNO, TEXT("No")}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, TEXT("Retry")}, {IDCANCEL, TEXT("Cancel")}};
    default:
        return {};
    }
}

bool HasButton(HWND box, int id) {
    const sim::DialogRecord* record = Dev().dialogs.Find(box);
    if (record == nullptr)
        return false;
    for (const Button& button : ButtonsFor(record->type))
        if (button.id == id)
            return true;
    return false;
}

// A box closes with the button pressed; Cancel (the Esc key, the close box) counts only when
// the box has a Cancel button, or as OK when OK is its only button.
INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    int id = LOWORD(wParam);
    const sim::DialogRecord* record = Dev().dialogs.Find(box);
    if (id == IDCANCEL && !HasButton(box, IDCANCEL) && record != nullptr &&
        (record->type & MB_TYPEMASK) == MB_OK)
        id = IDOK;
    if (HasButton(box, id))
        Dev().dialogs.End(box, id);
    return TRUE;
}

int CountLines(const WString& text, int perLine) {
    int lines = 1;
    int column = 0;
    for (WCHAR c : text) {
        if (c == '\n' || ++column > perLine) {
            ++lines;
            column = 0;
        }
    }
    return lines;
}

} // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    sim::Device& device = Dev();
    int result = 0;
    const std::vector<Button> buttons = ButtonsFor(type);
    const WString body = text != nullptr ? WString(text) : WString();
    const WString title = caption != nullptr ? WString(caption) : WString(TEXT("Error"));
    if (buttons.empty()) {
        device.SetLastErrorValue(ERROR_INVALID_MSGBOX_STYLE);
    } else if (owner != nullptr && !device.windows.Exists(owner)) {
        device.SetLastErrorValue(ERROR_INVALID_WINDOW_HANDLE);
    } else {
        // Laid out in dialog units: the text above, the buttons in a row below it.
        constexpr short kWidth = 112;
        const int lines = CountLines(body, 26);
        const short textHeight = static_cast<short>(std::min(lines, 30) * 8);
        std::vector<res::Control> controls;
        controls.push_back(res::Control{TEXT("STATIC"), body.c_str(), 0xFFFF,
                                        static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_LEFT), 0, 6,
                                        6, static_cast<short>(kWidth - 12), textHeight});
        const short top = static_cast<short>(textHeight + 12);
        short x = static_cast<short>(kWidth - 6 - 34 * static_cast<int>(buttons.size()));
        bool first = true;
        for (const Button& button : buttons) {
            const DWORD kind = first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            controls.push_back(res::Control{
                TEXT("BUTTON"), button.text, button.id,
                static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind), 0, x, top, 30, 14});
            x = static_cast<short>(x + 34);
            first = false;
        }
        DWORD style = static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME |
                                         DS_CENTER | DS_SETFONT);
        if ((type & MB_SETFOREGROUND) != 0)
            style |= DS_SETFOREGROUND;
        const res::Dialog layout{
            0, title.c_str(), style, 0, 0, 0, kWidth, static_cast<short>(top + 20), TEXT("Tahoma"),
            8, controls,      {}};
        const HWND box = device.dialogs.Create(layout, nullptr, owner, MessageBoxProc, 0, true);
        if (box != nullptr) {
            if (sim::DialogRecord* record = device.dialogs.Find(box)) {
                record->messageBox = true;
                record->text = body;
                record->type = type;
                record->source = nullptr; // the layout lives only while the box is open
            }
            result = static_cast<int>(device.dialogs.RunModal(box));
        }
    }
    device.trace.Call("MessageBoxW", result, static_cast<const void*>(owner), text, caption, type);
    return result;
}
