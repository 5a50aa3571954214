// The program's own settings code on a simulated device loaded with a user's .reg file, for
// `kipo-sim check` and `kipo-sim why`: LoadSettings reads the nine values, the rule-list
// builder makes the lists, and the monitor tick decides, so neither command holds a second
// copy of the rules.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"
#include "settings/settings_values.h"

class CMainFrame;
class CSettingsStore;
class CDecisionObserver;

namespace sim {
class Device;
struct RegValue;
} // namespace sim

namespace kiposim {

class SettingsProbe {
  public:
    SettingsProbe();
    ~SettingsProbe();
    SettingsProbe(const SettingsProbe&) = delete;
    SettingsProbe& operator=(const SettingsProbe&) = delete;

    // A fresh device with `regFile` loaded (none when empty) and the program's frame with its
    // settings read. False when the file cannot be read: `error` is then "FILE:LINE:COLUMN:
    // message" (or "FILE: message" for the file as a whole).
    bool Load(const std::string& regFile, std::string& error);

    sim::Device& Device() { return *device_; }
    CMainFrame& Frame() { return *frame_; }
    CSettingsStore& Store() { return *store_; }

    // The value as stored in Kipo's Settings key, or null when it is absent.
    const sim::RegValue* Raw(const SettingValue& value) const;
    // A list text as Kipo reads it (the stored text, or the default).
    WString Text(const SettingValue& value);

    // One run of the real monitor tick with a window captioned `caption` in front and
    // `running` windows behind it. `fresh` first puts the engine back to its state at start
    // (nothing known, no last caption), as after the program starts.
    void Tick(const WString& caption, const std::vector<WString>& running,
              CDecisionObserver& observer, bool fresh = true);
    // One more tick with the same windows.
    void TickAgain(CDecisionObserver& observer);

    // What OK in the settings dialog, touching nothing, would write: the real dialog is run on
    // a copy of the device's settings and OK is pressed. Index by SettingValues' order.
    std::vector<sim::RegValue> WrittenByOk();

    // Kipo's Settings key path below HKEY_CURRENT_USER (for Kipo.exe).
    static const WCHAR* SettingsKeyPath();

  private:
    void CloseProbeWindows();

    std::unique_ptr<sim::Device> device_;
    std::unique_ptr<CSettingsStore> store_;
    std::unique_ptr<CMainFrame> frame_;
    std::vector<WString> probeWindows_;
};

} // namespace kiposim
