#include "platform/sim/message_names.h"

#include <cstdio>

namespace sim {

namespace {

struct Named {
    UINT message;
    const char* name;
};

// The messages the device and its programs exchange; below WM_USER the numbers are unique.
constexpr Named kNames[] = {
    {0x0000, "WM_NULL"},
    {0x0001, "WM_CREATE"},
    {0x0002, "WM_DESTROY"},
    {0x0003, "WM_MOVE"},
    {0x0005, "WM_SIZE"},
    {0x0006, "WM_ACTIVATE"},
    {0x0007, "WM_SETFOCUS"},
    {0x0008, "WM_KILLFOCUS"},
    {0x000A, "WM_ENABLE"},
    {0x000C, "WM_SETTEXT"},
    {0x000D, "WM_GETTEXT"},
    {0x000E, "WM_GETTEXTLENGTH"},
    {0x000F, "WM_PAINT"},
    {0x0010, "WM_CLOSE"},
    {0x0012, "WM_QUIT"},
    {0x0014, "WM_ERASEBKGND"},
    {0x0018, "WM_SHOWWINDOW"},
    {0x001C, "WM_ACTIVATEAPP"},
    {0x0030, "WM_SETFONT"},
    {0x0046, "WM_WINDOWPOSCHANGING"},
    {0x0047, "WM_WINDOWPOSCHANGED"},
    {0x004E, "WM_NOTIFY"},
    {0x0081, "WM_NCCREATE"},
    {0x0082, "WM_NCDESTROY"},
    {0x00C5, "EM_LIMITTEXT"},
    {0x00D5, "EM_GETLIMITTEXT"},
    {0x00F0, "BM_GETCHECK"},
    {0x00F1, "BM_SETCHECK"},
    {0x00F2, "BM_GETSTATE"},
    {0x00F5, "BM_CLICK"},
    {0x0100, "WM_KEYDOWN"},
    {0x0101, "WM_KEYUP"},
    {0x0102, "WM_CHAR"},
    {0x0110, "WM_INITDIALOG"},
    {0x0111, "WM_COMMAND"},
    {0x0112, "WM_SYSCOMMAND"},
    {0x0113, "WM_TIMER"},
    {0x0117, "WM_INITMENUPOPUP"},
    {0x0143, "CB_ADDSTRING"},
    {0x0144, "CB_DELETESTRING"},
    {0x0146, "CB_GETCOUNT"},
    {0x0147, "CB_GETCURSEL"},
    {0x0148, "CB_GETLBTEXT"},
    {0x0149, "CB_GETLBTEXTLEN"},
    {0x014A, "CB_INSERTSTRING"},
    {0x014B, "CB_RESETCONTENT"},
    {0x014E, "CB_SETCURSEL"},
    {0x0152, "CB_GETDROPPEDCONTROLRECT"},
    {0x0158, "CB_FINDSTRINGEXACT"},
    {0x0170, "STM_SETICON"},
    {0x0171, "STM_GETICON"},
    {0x0200, "WM_MOUSEMOVE"},
    {0x0201, "WM_LBUTTONDOWN"},
    {0x0202, "WM_LBUTTONUP"},
    {0x0203, "WM_LBUTTONDBLCLK"},
    {0x0204, "WM_RBUTTONDOWN"},
    {0x0205, "WM_RBUTTONUP"},
    {0x0312, "WM_HOTKEY"},
};

constexpr UINT kUser = 0x0400;
constexpr UINT kApp = 0x8000;
constexpr UINT kRegistered = 0xC000;

} // namespace

std::string MessageName(UINT message) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%04X", message);
    for (const Named& named : kNames)
        if (named.message == message)
            return std::string(named.name) + " (" + number + ")";
    // Private ranges by their base, as a program defines them; registered messages and
    // anything else by number alone.
    if (message >= kUser && message < kApp)
        return "WM_USER+" + std::to_string(message - kUser) + " (" + number + ")";
    if (message >= kApp && message < kRegistered)
        return "WM_APP+" + std::to_string(message - kApp) + " (" + number + ")";
    return number;
}

} // namespace sim
