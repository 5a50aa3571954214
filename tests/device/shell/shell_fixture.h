// A fresh device per test with a window of the program that logs what reaches it, a dialog
// procedure that logs and can be told what to do, and the agenda for the simulated user.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "tests/support/device_test.h"

struct LoggedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::uint64_t time;
};

class ShellTest : public DeviceTest {
  public:
    // The dialog procedure of test dialogs: logs, then asks `onDialog` (FALSE when unset).
    static INT_PTR CALLBACK LoggingDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam);

  protected:
    ShellTest();
    ~ShellTest() override;

    // A hidden top-level window of the program whose procedure logs every message.
    HWND MakeWindow(const WCHAR* caption = TEXT("Owner"));
    // The logged messages of one kind (of one window, when given).
    std::vector<LoggedMessage> Received(UINT message, HWND window = nullptr) const;

    // A step of the simulated user (or a check) at a virtual time, run while the program waits.
    void At(std::uint64_t time, std::function<void()> step) {
        device.scheduler.At(time, std::move(step));
    }

    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> onDialog;
    // Answers window messages itself instead of DefWindowProcW when it returns a value.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> onWindow;

    std::vector<LoggedMessage> log;

    static ShellTest* current_;

  private:
    static LRESULT CALLBACK LoggingWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam);
};
