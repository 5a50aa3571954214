#include "tests/device/windows/message_log.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/sim/device.h"

namespace windows_test {

namespace {
MessageLog* g_log = nullptr;
}

MessageLog::MessageLog() : previous_(g_log) {
    g_log = this;
}
MessageLog::~MessageLog() {
    g_log = previous_;
}

void MessageLog::RegisterClassFor(const WCHAR* name, int windowExtra) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &MessageLog::Proc;
    wc.lpszClassName = name;
    wc.cbWndExtra = windowExtra;
    RegisterClassW(&wc);
}

LRESULT CALLBACK MessageLog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_log != nullptr) {
        if (std::find(g_log->ignored.begin(), g_log->ignored.end(), message) ==
            g_log->ignored.end())
            g_log->entries.push_back(
                Logged{window, message, wParam, lParam, sim::Dev().CurrentProcess()});
        if (g_log->handler)
            if (auto answer = g_log->handler(window, message, wParam, lParam))
                return *answer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<UINT> MessageLog::Messages(HWND window) const {
    std::vector<UINT> messages;
    for (const Logged& entry : entries)
        if (window == nullptr || entry.window == window)
            messages.push_back(entry.message);
    return messages;
}

std::string MessageLog::Name(UINT message) {
    switch (message) {
    case WM_CREATE:
        return "WM_CREATE";
    case WM_DESTROY:
        return "WM_DESTROY";
    case WM_MOVE:
        return "WM_MOVE";
    case WM_SIZE:
        return "WM_SIZE";
    case WM_ACTIVATE:
        return "WM_ACTIVATE";
    case WM_SETFOCUS:
        return "WM_SETFOCUS";
    case WM_KILLFOCUS:
        return "WM_KILLFOCUS";
    case WM_ENABLE:
        return "WM_ENABLE";
    case WM_SETTEXT:
        return "WM_SETTEXT";
    case WM_GETTEXT:
        return "WM_GETTEXT";
    case WM_GETTEXTLENGTH:
        return "WM_GETTEXTLENGTH";
    case WM_PAINT:
        return "WM_PAINT";
    case WM_CLOSE:
        return "WM_CLOSE";
    case WM_ERASEBKGND:
        return "WM_ERASEBKGND";
    case WM_SHOWWINDOW:
        return "WM_SHOWWINDOW";
    case WM_NCCREATE:
        return "WM_NCCREATE";
    case WM_NCDESTROY:
        return "WM_NCDESTROY";
    case WM_KEYDOWN:
        return "WM_KEYDOWN";
    case WM_KEYUP:
        return "WM_KEYUP";
    case WM_CHAR:
        return "WM_CHAR";
    case WM_COMMAND:
        return "WM_COMMAND";
    case WM_TIMER:
        return "WM_TIMER";
    case WM_HOTKEY:
        return "WM_HOTKEY";
    default:
        break;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04x", message);
    return buf;
}

void ExpectSequence(const MessageLog& log, const std::vector<Expected>& expected, HWND window,
                    const char* file, int line) {
    std::vector<Logged> actual;
    for (const Logged& entry : log.entries)
        if (window == nullptr || entry.window == window)
            actual.push_back(entry);
    std::ostringstream problems;
    const std::size_t count = std::max(actual.size(), expected.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (i >= actual.size()) {
            problems << "  #" << i << ": expected " << MessageLog::Name(expected[i].message)
                     << ", got nothing more\n";
            break;
        }
        if (i >= expected.size()) {
            problems << "  #" << i << ": unexpected " << MessageLog::Name(actual[i].message)
                     << "\n";
            break;
        }
        const Expected& want = expected[i];
        const Logged& got = actual[i];
        bool same = want.message == got.message;
        if ((want.check & kWParam) != 0)
            same = same && want.wParam == got.wParam;
        if ((want.check & kLParam) != 0)
            same = same && want.lParam == got.lParam;
        if (want.window != nullptr)
            same = same && want.window == got.window;
        if (!same) {
            problems << "  #" << i << ": expected " << MessageLog::Name(want.message) << " ("
                     << want.wParam << ", " << want.lParam << "), got "
                     << MessageLog::Name(got.message) << " (" << got.wParam << ", " << got.lParam
                     << ")\n";
            break;
        }
    }
    if (!problems.str().empty()) {
        std::ostringstream all;
        for (const Logged& entry : actual)
            all << " " << MessageLog::Name(entry.message);
        ADD_FAILURE_AT(file, line) << "message sequence differs:\n"
                                   << problems.str() << "  whole sequence:" << all.str();
    }
}

} // namespace windows_test
