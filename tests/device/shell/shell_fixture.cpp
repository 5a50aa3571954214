#include "tests/device/shell/shell_fixture.h"

ShellTest* ShellTest::current_ = nullptr;

ShellTest::ShellTest() {
    current_ = this;
}

ShellTest::~ShellTest() {
    current_ = nullptr;
}

LRESULT CALLBACK ShellTest::LoggingWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (current_ != nullptr) {
        current_->log.push_back({window, message, wParam, lParam, current_->device.Now()});
        if (current_->onWindow)
            if (std::optional<LRESULT> answer = current_->onWindow(window, message, wParam, lParam))
                return *answer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK ShellTest::LoggingDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (current_ == nullptr)
        return FALSE;
    current_->log.push_back({dialog, message, wParam, lParam, current_->device.Now()});
    return current_->onDialog ? current_->onDialog(dialog, message, wParam, lParam) : FALSE;
}

HWND ShellTest::MakeWindow(const WCHAR* caption) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LoggingWindowProc;
    wc.lpszClassName = TEXT("ShellTestWindow");
    RegisterClassW(&wc); // a second registration in the same test fails harmlessly
    return CreateWindowExW(0, TEXT("ShellTestWindow"), caption, WS_POPUP, 0, 0, 100, 100, nullptr,
                           nullptr, nullptr, nullptr);
}

std::vector<LoggedMessage> ShellTest::Received(UINT message, HWND window) const {
    std::vector<LoggedMessage> found;
    for (const LoggedMessage& m : log)
        if (m.message == message && (window == nullptr || m.window == window))
            found.push_back(m);
    return found;
}
