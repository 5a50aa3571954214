// The handheld's WLAN adapter and the WLAN software that drives its card slot.
//
// A "stuck" adapter sits at D4 and its driver refuses D0 until the wake sequence has run: the
// slot is powered (kernel I/O control kSlotPowerCode with 1), the software is told to look for
// the card (the "WLANDetectInsertPCMCIA" event is set), and the card status is read back
// (kCardStatusCode); that last step brings the adapter up at D0. Once powered down again it is
// stuck again, as such cards are after every power-down. A "broken" adapter refuses D0 even
// after the wake sequence, and the device's own WLAN tool cannot bring it up either.
#pragma once

#include "platform/model/power_manager.h"

namespace model {

enum class WlanSetUp {
    On,     // at D0
    Off,    // at D4, takes D0 when asked
    Absent, // unknown to the power manager
    Stuck,  // at D4, refuses D0 until the wake sequence has run
    Broken, // at D4, refuses D0 whatever is done: a card that no longer answers
};

class WlanAdapter : public PowerDriver {
  public:
    static constexpr const WCHAR* kDeviceName =
        TEXT("{98C5250D-C29A-4985-AE5F-AFE5367E5006}\\tiacxwln1");
    static constexpr DWORD kSlotPowerCode = 0x01010127;
    static constexpr DWORD kCardStatusCode = 0x01010128;
    static constexpr const WCHAR* kDetectEvent = TEXT("WLANDetectInsertPCMCIA");
    static constexpr const WCHAR* kStatusEvent = TEXT("WALNStatusChangeEvent");
    static constexpr const WCHAR* kLockEvent = TEXT("ShouldLockWlanUI");
    static constexpr const WCHAR* kUnlockEvent = TEXT("ShouldUnLockWlanUI");

    explicit WlanAdapter(PowerManager& power);
    WlanAdapter(const WlanAdapter&) = delete;
    WlanAdapter& operator=(const WlanAdapter&) = delete;

    void SetUp(WlanSetUp setUp);
    WlanSetUp Kind() const { return kind_; }
    bool Present() const { return kind_ != WlanSetUp::Absent; }
    // At D0 in the power manager.
    bool IsOn() const;
    // True while a request for D0 would be refused.
    bool RefusesFullPower() const { return refusing_; }

    // The user switches WiFi with the device's own WLAN tool, behind the program's back. The
    // tool knows how to wake a stuck card; an absent adapter stays absent.
    void UserSwitch(bool on);

    // Kernel I/O controls of the card slot. Returns false when `code` is not one of them.
    static bool OwnsIoControl(DWORD code) {
        return code == kSlotPowerCode || code == kCardStatusCode;
    }
    // Answers one of the two controls as KernelIoControl does; `error` is set on failure.
    BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
                   DWORD* bytesReturned, DWORD* error);

    // A named event was set or pulsed. Returns true when the WLAN software was waiting on it
    // and took the signal (an auto-reset event then falls back to non-signalled).
    bool OnEventSignalled(const WString& name);
    // A named event was reset; the WLAN software notes the UI lock requests.
    void OnEventReset(const WString& name);

    // Progress of the wake sequence and what the software saw, for tests and traces.
    bool CardDetected() const { return cardDetected_; }
    int Wakes() const { return wakes_; }
    int StatusChanges() const { return statusChanges_; }
    int LockResets() const { return lockResets_; }
    int UnlockResets() const { return unlockResets_; }

    DWORD OnSetPower(int state) override;

  private:
    void PowerDown();

    PowerManager& power_;
    WlanSetUp kind_ = WlanSetUp::Off;
    bool refusing_ = false;
    bool slotPowered_ = false;
    bool cardDetected_ = false;
    int wakes_ = 0;
    int statusChanges_ = 0;
    int lockResets_ = 0;
    int unlockResets_ = 0;
};

} // namespace model
