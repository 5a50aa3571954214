// Runs the whole program on the test's device, in the program's process, as the device's
// loader would start it; the test drives it through the agenda beforehand.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/child_view.h"
#include "app/kipo_main.h"
#include "app/main_frame.h"
#include "app/switcher_app.h"
#include "framework/ce_command_bar.h"
#include "platform/sim/device.h"
#include "tests/support/device_test.h"

class KipoRunTest : public DeviceTest {
  protected:
    // Runs KipoMain until the program ends; returns its exit code.
    int Run(const WString& commandLine = TEXT("")) {
        sim::Device::ProcessScope scope(device, sim::kProgramProcess);
        device.ProcessById(sim::kProgramProcess).running = true;
        const int result = KipoMain(nullptr, commandLine.c_str());
        device.ProcessById(sim::kProgramProcess).running = false;
        return result;
    }

    // Starts the program in `process` on a thread of its own, side by side with what runs
    // already, as the device's loader starts a program the user taps; `exitCode` gets its
    // result. device.RunUntilIdle() then runs the world until every program has ended.
    void StartOnThread(int process, int* exitCode) {
        device.ProcessById(process).running = true;
        device.StartThread(process, [this, process, exitCode] {
            *exitCode = KipoMain(nullptr, TEXT(""));
            device.ProcessById(process).running = false;
        });
    }

    void At(std::uint64_t time, std::function<void()> action) {
        device.scheduler.At(time, std::move(action));
    }

    // The program's frame while it runs (read from an agenda item), or null.
    static CMainFrame* Frame() {
        auto* app = dynamic_cast<CSwitcherApp*>(AfxGetApp());
        return app != nullptr ? app->MainFrame() : nullptr;
    }

    // Taps the icon and chooses `item` in the popup, inside the popup's own loop.
    void ChooseFromIcon(std::uint64_t time, const WString& item) {
        At(time, [this] { EXPECT_TRUE(device.TapIcon()); });
        At(time, [this, item] {
            EXPECT_TRUE(device.MenuOpen());
            EXPECT_TRUE(device.ChooseMenuItem(item)) << ToUtf8(item);
        });
    }

    // The period of the frame's check timer, or 0 when it has none.
    UINT CheckTimerPeriod() const {
        const CMainFrame* frame = Frame();
        if (frame == nullptr)
            return 0;
        const sim::Timer* timer = device.windows.timers.Find(frame->m_hWnd, 1);
        return timer != nullptr ? timer->period : 0;
    }

    bool ProgramKeyExists() const {
        return device.registry.KeyExists(HKEY_CURRENT_USER, TEXT("software\\Kipo"));
    }
};
