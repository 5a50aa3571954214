#include "tools/kipo-sim/program_windows.h"

#include <algorithm>

#include "platform/sim/window_manager.h"

namespace kiposim {

bool ProgramWindows::Holds(const std::vector<HWND>& topLevel, int process, HWND mainWindow) const {
    return valid_ && process == process_ && mainWindow == mainWindow_ &&
           topLevel.size() == topLevelCount_ &&
           std::equal(topLevel.begin(), topLevel.end(), topLevel_.begin());
}

void ProgramWindows::Remember(const sim::WindowManager& windows, int process, HWND mainWindow) {
    const std::vector<HWND>& topLevel = windows.TopLevel();
    process_ = process;
    mainWindow_ = mainWindow;
    foundCount_ = 0;
    // Too many to remember: every look finds them again.
    valid_ = topLevel.size() <= kCapacity;
    topLevelCount_ = valid_ ? topLevel.size() : 0;
    for (std::size_t i = 0; i < topLevel.size(); ++i) {
        const HWND handle = topLevel[i];
        if (valid_)
            topLevel_[i] = handle;
        const sim::Window* w = windows.Get(handle);
        // A listed window the manager does not know cannot be placed: look again next time.
        if (w == nullptr)
            valid_ = false;
        if (w == nullptr || w->process != process || handle == mainWindow)
            continue;
        if (foundCount_ == kCapacity) {
            valid_ = false;
            break;
        }
        found_[foundCount_++] = handle;
    }
}

void ProgramWindows::Read(const sim::WindowManager& windows, int process, HWND mainWindow,
                          std::vector<SeenWindow>& out) {
    out.clear();
    if (!Holds(windows.TopLevel(), process, mainWindow))
        Remember(windows, process, mainWindow);
    if (!valid_) {
        for (HWND handle : windows.TopLevel()) {
            const sim::Window* w = windows.Get(handle);
            if (w != nullptr && w->process == process && handle != mainWindow)
                out.push_back({handle, w->caption, w->Visible()});
        }
        return;
    }
    for (std::size_t i = 0; i < foundCount_; ++i)
        if (const sim::Window* w = windows.Get(found_[i]))
            out.push_back({found_[i], w->caption, w->Visible()});
}

} // namespace kiposim
