// The cost of the shell's modal pieces on the simulated device: making the settings dialog
// (28 controls) and tearing it down, and one popup menu opened and chosen from.
#include <benchmark/benchmark.h>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "res/resource_ids.h"

namespace {

INT_PTR CALLBACK NoDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void BM_SettingsDialogMadeAndDestroyed(benchmark::State& state) {
    sim::Device device;
    SHInitExtraControls();
    for (auto _ : state) {
        const HWND dialog =
            CreateDialogParamW(nullptr, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, NoDialogProc, 0);
        if (dialog == nullptr) {
            state.SkipWithError("the dialog was not made");
            break;
        }
        DestroyWindow(dialog);
    }
}
BENCHMARK(BM_SettingsDialogMadeAndDestroyed)->Unit(benchmark::kMicrosecond);

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

void BM_PopupOpenedAndChosen(benchmark::State& state) {
    sim::Device device;
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = TEXT("BenchOwner");
    RegisterClassW(&wc);
    const HWND owner = CreateWindowExW(0, TEXT("BenchOwner"), TEXT("Owner"), WS_POPUP, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
    const HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME));
    const HMENU file = GetSubMenu(menu, 0);
    for (auto _ : state) {
        device.scheduler.AtNextWait([&device] { device.ChooseMenuItem(TEXT("Exit")); });
        if (TrackPopupMenuEx(file, TPM_RETURNCMD, 0, 0, owner, nullptr) != ID_APP_EXIT) {
            state.SkipWithError("the choice did not arrive");
            break;
        }
    }
    DestroyMenu(menu);
}
BENCHMARK(BM_PopupOpenedAndChosen)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
