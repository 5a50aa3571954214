// WiFi control through the power manager, with the device's wake sequence for an adapter
// that refuses full power.
#include "app/main_frame.h"
#include "radio/event_handle.h"

namespace {

constexpr DWORD kSlotPowerCode = 0x01010127;
constexpr DWORD kCardStatusCode = 0x01010128;

} // namespace

int CMainFrame::IsWifiOn() {
    CEDEVICE_POWER_STATE state = D0;
    // A failing request means off, whatever the state holds.
    if (GetDevicePower(WlanDeviceName, POWER_NAME, &state) != ERROR_SUCCESS)
        return 0;
    return state == D0 ? 1 : 0;
}

void CMainFrame::TurnWifiOff(int force) {
    if (force == 0 && IsWifiOn() == 0)
        return;
    SetDevicePower(WlanDeviceName, POWER_NAME, D4);
}

void CMainFrame::TurnWifiOn(int force) {
    if (force == 0 && IsWifiOn() != 0)
        return;
    if (SetDevicePower(WlanDeviceName, POWER_NAME, D0) == ERROR_SUCCESS)
        return;
    WlanWakeSequence();
}

void CMainFrame::WlanWakeSequence() {
    // No result is checked: a step that fails does not stop the ones after it.
    DWORD slotPower = 1;
    KernelIoControl(kSlotPowerCode, &slotPower, sizeof slotPower, nullptr, 0, nullptr);
    {
        EventHandle statusChange(TEXT("WALNStatusChangeEvent"));
        statusChange.Modify(EVENT_SET);
    }
    EventHandle lockUi(TEXT("ShouldLockWlanUI"));
    EventHandle unlockUi(TEXT("ShouldUnLockWlanUI"));
    lockUi.Modify(EVENT_RESET);
    unlockUi.Modify(EVENT_RESET);
    {
        EventHandle detectCard(TEXT("WLANDetectInsertPCMCIA"));
        detectCard.Modify(EVENT_SET);
    }
    Sleep(10);
    lockUi.Close();
    unlockUi.Close();
    DWORD cardStatus = 1;
    DWORD returned = 0;
    KernelIoControl(kCardStatusCode, nullptr, 0, &cardStatus, sizeof cardStatus, &returned);
}
