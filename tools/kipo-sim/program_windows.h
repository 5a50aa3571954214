// The program's top-level windows other than its main window, as the timeline follows them
// (a dialog that opens, is hidden, is shown again, closes).
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "platform/platform.h"

namespace sim {
class WindowManager;
}

namespace kiposim {

struct SeenWindow {
    HWND handle = nullptr;
    WString caption;
    bool visible = false;

    bool operator==(const SeenWindow&) const = default;
};

// Finding the program's windows means looking up every top-level window of the device. That
// is done again only when the top-level list (handles in z-order) or the main window differs
// from the last look: handles are never reused and a window keeps its process for its life,
// so the same list holds the same windows of the program. Captions and visibility are read
// afresh at every look.
//
// The remembered lists live in fixed arrays, never on the heap: --trace names host addresses
// by their first appearance, so an allocation here could hand a freed object's address to
// another and change a trace. A device with more top-level windows than they hold is looked
// at in full every time.
class ProgramWindows {
  public:
    // The windows of `process` in the top-level list, front first, all but `mainWindow`.
    void Read(const sim::WindowManager& windows, int process, HWND mainWindow,
              std::vector<SeenWindow>& out);

    static constexpr std::size_t kCapacity = 64;

  private:
    // Whether the last look still holds for this one.
    bool Holds(const std::vector<HWND>& topLevel, int process, HWND mainWindow) const;
    void Remember(const sim::WindowManager& windows, int process, HWND mainWindow);

    bool valid_ = false;
    int process_ = 0;
    HWND mainWindow_ = nullptr;
    std::array<HWND, kCapacity> topLevel_{}; // the list they were found in
    std::size_t topLevelCount_ = 0;
    std::array<HWND, kCapacity> found_{};
    std::size_t foundCount_ = 0;
};

} // namespace kiposim
