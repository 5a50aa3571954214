// The power manager of the handheld: power-managed devices by class-qualified name, each with
// its device power state (D0 full power ... D4 off). Host-independent: the simulated device and
// the Windows build both keep their devices here.
#pragma once

#include <string_view>
#include <vector>

#include "platform/text.h"

namespace model {

// Device power states as the power manager numbers them.
inline constexpr int kFullPower = 0; // D0
inline constexpr int kPowerOff = 4;  // D4
inline constexpr int kUnspecified = -1;

// The class of a name given without one, as the power manager assumes it.
inline constexpr const WCHAR* kGenericPowerClass = TEXT("{A32942B7-920C-486b-B0E6-92A702A99B35}");

// The driver side of a device: it may refuse a requested state, as a real driver's answer to
// the power-set request can. Devices without a driver take every valid state.
class PowerDriver {
  public:
    virtual ~PowerDriver() = default;
    // ERROR_SUCCESS to accept `state`, an error code to refuse it.
    virtual DWORD OnSetPower(int state) = 0;
};

class PowerManager {
  public:
    using Name = std::basic_string_view<WCHAR>;

    // Adds a device, or replaces the one of the same name. `name` is class-qualified
    // ("{class}\\instance"); without a class the generic one is assumed.
    void AddDevice(Name name, int state, PowerDriver* driver = nullptr);
    void RemoveDevice(Name name);
    // The state of a registered device, or kUnspecified when there is none.
    int StateOf(Name name) const;
    // Changes a device's state from the device's side (its driver or its user).
    void UpdateState(Name name, int state);

    // GetDevicePower and SetDevicePower, with the power manager's return codes.
    DWORD Get(const WCHAR* device, DWORD flags, CEDEVICE_POWER_STATE* state) const;
    DWORD Set(const WCHAR* device, DWORD flags, int state);

  private:
    struct Entry {
        WString key;   // the qualified name folded to lower case, once, when it is added
        WString given; // the name as it was added: callers mostly spell it so again
        int state = kPowerOff;
        PowerDriver* driver = nullptr;
    };
    static WString KeyOf(Name name);
    // Whether `name`, as a caller gave it, names the entry: it is spelled as when added, or it
    // qualifies and folds to the entry's key. Compared in place, without a copy, since devices
    // are looked up on every check of a radio.
    static bool Names(const Entry& entry, Name name);
    Entry* Find(Name name);
    const Entry* Find(Name name) const;

    std::vector<Entry> devices_;
};

} // namespace model
