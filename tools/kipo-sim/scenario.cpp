#include "tools/kipo-sim/scenario.h"

namespace kiposim {

const char* StepName(StepKind kind) {
    switch (kind) {
    case StepKind::Exe:
        return "exe";
    case StepKind::Cmdline:
        return "cmdline";
    case StepKind::Screen:
        return "screen";
    case StepKind::Stack:
        return "stack";
    case StepKind::Bt:
        return "bt";
    case StepKind::Wifi:
        return "wifi";
    case StepKind::HoldUp:
        return "hold up";
    case StepKind::Setting:
        return "setting";
    case StepKind::Reg:
        return "reg";
    case StepKind::RegDelete:
        return "reg-delete";
    case StepKind::Start:
        return "start";
    case StepKind::Wait:
        return "wait";
    case StepKind::Open:
        return "open";
    case StepKind::OpenBehind:
        return "open-behind";
    case StepKind::Front:
        return "front";
    case StepKind::Close:
        return "close";
    case StepKind::Rename:
        return "rename";
    case StepKind::Today:
        return "today";
    case StepKind::NoFront:
        return "no-front";
    case StepKind::PressUp:
        return "press up";
    case StepKind::ReleaseUp:
        return "release up";
    case StepKind::PressApp1:
        return "press app1";
    case StepKind::Tap:
        return "tap";
    case StepKind::TapOther:
        return "tap-other";
    case StepKind::Menu:
        return "menu";
    case StepKind::Dismiss:
        return "dismiss";
    case StepKind::Type:
        return "type";
    case StepKind::Check:
        return "check";
    case StepKind::Select:
        return "select";
    case StepKind::Choose:
        return "choose";
    case StepKind::Click:
        return "click";
    case StepKind::UserBt:
        return "user-bt";
    case StepKind::UserWifi:
        return "user-wifi";
    case StepKind::ExpectBt:
        return "expect bt";
    case StepKind::ExpectWifi:
        return "expect wifi";
    case StepKind::ExpectRunning:
        return "expect running";
    case StepKind::ExpectEnded:
        return "expect ended";
    case StepKind::ExpectIcon:
        return "expect icon";
    case StepKind::ExpectMenu:
        return "expect menu";
    case StepKind::ExpectWindow:
        return "expect window";
    case StepKind::ExpectForeground:
        return "expect foreground";
    case StepKind::ExpectText:
        return "expect text";
    case StepKind::ExpectChecked:
        return "expect checked";
    case StepKind::ExpectSelected:
        return "expect selected";
    case StepKind::ExpectSetting:
        return "expect setting";
    case StepKind::ExpectReg:
        return "expect reg";
    case StepKind::ExpectKey:
        return "expect key";
    case StepKind::ExpectInterval:
        return "expect interval";
    case StepKind::ExpectCalls:
        return "expect calls";
    case StepKind::ExpectHandles:
        return "expect handles";
    }
    return "?";
}

bool IsSetUpStep(StepKind kind) {
    switch (kind) {
    case StepKind::Exe:
    case StepKind::Cmdline:
    case StepKind::Screen:
    case StepKind::Stack:
    case StepKind::Bt:
    case StepKind::Wifi:
    case StepKind::HoldUp:
        return true;
    default:
        return false;
    }
}

bool IsRegistryStep(StepKind kind) {
    return kind == StepKind::Setting || kind == StepKind::Reg || kind == StepKind::RegDelete;
}

bool IsCheckStep(StepKind kind) {
    return kind >= StepKind::ExpectBt;
}

DWORD RegData::RegType() const {
    switch (kind) {
    case Kind::Dword:
        return REG_DWORD;
    case Kind::Sz:
        return REG_SZ;
    case Kind::Binary:
        return REG_BINARY;
    case Kind::Absent:
        break;
    }
    return REG_NONE;
}

std::vector<std::uint8_t> RegData::Bytes() const {
    std::vector<std::uint8_t> out;
    switch (kind) {
    case Kind::Dword:
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(dword >> (8 * i)));
        break;
    case Kind::Sz:
        // Little-endian UTF-16 with the terminating NUL, as regedit stores a string.
        for (WCHAR c : text) {
            out.push_back(static_cast<std::uint8_t>(c & 0xFF));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        out.push_back(0);
        out.push_back(0);
        break;
    case Kind::Binary:
        out = bytes;
        break;
    case Kind::Absent:
        break;
    }
    return out;
}

} // namespace kiposim
