// Records the messages that reach test windows, and compares them with a table of expected
// messages, reporting the table's line on a mismatch (in the manner of Wine's user32 tests).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace windows_test {

struct Logged {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int process;
};

// Which parameters of an expected message are compared.
enum Check { kMessage = 0, kWParam = 1, kLParam = 2, kBoth = 3 };

struct Expected {
    UINT message;
    int check = kMessage;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND window = nullptr; // null: any window
};

class MessageLog {
  public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Registers `name` in the current process with the logging procedure.
    static void RegisterClassFor(const WCHAR* name, int windowExtra = 0);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Returns a result to answer a message itself instead of DefWindowProcW.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;
    std::vector<Logged> entries;
    // Messages not worth comparing (the paint cycle, for example) are left out when set.
    std::vector<UINT> ignored;

    void Clear() { entries.clear(); }
    std::vector<UINT> Messages(HWND window = nullptr) const;
    static std::string Name(UINT message);

  private:
    MessageLog* previous_;
};

// Compares the log (messages of `window` only, when given) with the table.
void ExpectSequence(const MessageLog& log, const std::vector<Expected>& expected, HWND window,
                    const char* file, int line);

} // namespace windows_test

#define EXPECT_SEQUENCE(log, ...)                                                                  \
    ::windows_test::ExpectSequence((log), __VA_ARGS__, __FILE__, __LINE__)
