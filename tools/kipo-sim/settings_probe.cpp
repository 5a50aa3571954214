#include "tools/kipo-sim/settings_probe.h"

#include "app/main_frame.h"
#include "engine/decision_observer.h"
#include "platform/sim/device.h"
#include "platform/sim/reg_file.h"
#include "settings/settings_store.h"

namespace kiposim {

SettingsProbe::SettingsProbe() = default;

SettingsProbe::~SettingsProbe() {
    frame_.reset();
    store_.reset();
    device_.reset();
}

const WCHAR* SettingsProbe::SettingsKeyPath() {
    return TEXT("software\\Kipo\\Kipo\\Settings");
}

bool SettingsProbe::Load(const std::string& regFile, std::string& error) {
    frame_.reset();
    store_.reset();
    device_.reset();
    device_ = std::make_unique<sim::Device>();
    if (!regFile.empty()) {
        sim::RegFileError problem;
        if (!sim::LoadRegFile(device_->registry, regFile, &problem)) {
            error = problem.Describe(regFile);
            return false;
        }
    }
    store_ = std::make_unique<CSettingsStore>();
    store_->SetRegistryKey(RegistryKeyWord, TEXT("Kipo"));
    frame_ = std::make_unique<CMainFrame>(*store_);
    frame_->LoadSettings();
    return true;
}

const sim::RegValue* SettingsProbe::Raw(const SettingValue& value) const {
    return device_->registry.Find(HKEY_CURRENT_USER, SettingsKeyPath(), value.name);
}

WString SettingsProbe::Text(const SettingValue& value) {
    return store_->GetProfileString(SettingsSection, value.name, value.textDefault);
}

void SettingsProbe::CloseProbeWindows() {
    for (const WString& caption : probeWindows_)
        device_->Close(caption);
    probeWindows_.clear();
}

void SettingsProbe::Tick(const WString& caption, const std::vector<WString>& running,
                         CDecisionObserver& observer, bool fresh) {
    CloseProbeWindows();
    for (const WString& behind : running) {
        device_->OpenWindowBehind(behind);
        probeWindows_.push_back(behind);
    }
    device_->OpenWindow(caption);
    probeWindows_.push_back(caption);
    CMainFrame& frame = *frame_;
    if (fresh) {
        frame.LastCaption.clear();
        frame.BtState = -1;
        frame.WifiState = -1;
        frame.KeepAliveCounter = 0;
    }
    TickAgain(observer);
}

void SettingsProbe::TickAgain(CDecisionObserver& observer) {
    CMainFrame& frame = *frame_;
    frame.SetDecisionObserver(&observer);
    frame.MonitorTick(1);
    frame.SetDecisionObserver(nullptr);
}

std::vector<sim::RegValue> SettingsProbe::WrittenByOk() {
    CloseProbeWindows();
    sim::Device& device = *device_;
    // The dialog is run inside the frame's Settings command; the agenda presses OK once the
    // dialog waits for input, as the user would.
    device.scheduler.At(device.Now(), [&device] { device.ClickButton(IDOK); });
    // As start-up does first of all, so that the dialog's input-panel control can be made.
    ::SHInitExtraControls();
    frame_->OnSettings();
    while (auto next = device.scheduler.NextTime()) {
        if (*next > device.Now())
            device.SetNow(*next);
        device.scheduler.RunDueItem();
    }
    std::vector<sim::RegValue> written;
    for (const SettingValue& value : SettingValues) {
        const sim::RegValue* raw = Raw(value);
        written.push_back(raw != nullptr ? *raw : sim::RegValue{});
    }
    return written;
}

} // namespace kiposim
