// A parsed scenario: the steps of a .kipo file in file order, each with the place it was
// written, so that the runner can name the line of a step that fails.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text.h"

namespace kiposim {

enum class StepKind {
    // Device set-up (before the first start; reg, reg-delete and setting anywhere).
    Exe,
    Cmdline,
    Screen,
    Stack,
    Bt,
    Wifi,
    HoldUp,
    Setting,
    Reg,
    RegDelete,
    Start,
    // Timed steps.
    Wait,
    Open,
    OpenBehind,
    Front,
    Close,
    Rename,
    Today,
    NoFront,
    PressUp,
    ReleaseUp,
    PressApp1,
    Tap,
    TapOther,
    Menu,
    Dismiss,
    Type,
    Check,
    Select,
    Choose,
    Click,
    UserBt,
    UserWifi,
    // Checks.
    ExpectBt,
    ExpectWifi,
    ExpectRunning,
    ExpectEnded,
    ExpectIcon,
    ExpectMenu,
    ExpectWindow,
    ExpectForeground,
    ExpectText,
    ExpectChecked,
    ExpectSelected,
    ExpectSetting,
    ExpectReg,
    ExpectKey,
    ExpectInterval,
    ExpectCalls,
    ExpectHandles,
};

// The word that begins a step of this kind ("expect bt", "open-behind").
const char* StepName(StepKind kind);

// True for the steps that shape the device before the program starts.
bool IsSetUpStep(StepKind kind);
// True for the steps that may stand anywhere (registry edits).
bool IsRegistryStep(StepKind kind);
// True for checks (`expect ...`).
bool IsCheckStep(StepKind kind);

enum class StackKind { Widcomm, Microsoft, None };
enum class WifiSetUp { On, Off, Absent, Stuck };
enum class IconCheck { Shown, Hidden, Resource };
enum class WindowCheck { Visible, Hidden, Absent };

// A registry value as written in a scenario, or its absence (checks only).
struct RegData {
    enum class Kind { Dword, Sz, Binary, Absent };
    Kind kind = Kind::Absent;
    std::uint32_t dword = 0;
    WString text;                    // sz
    std::vector<std::uint8_t> bytes; // binary

    // The type and bytes as the registry keeps them (sz with its terminating NUL).
    DWORD RegType() const;
    std::vector<std::uint8_t> Bytes() const;
};

struct Step {
    StepKind kind = StepKind::Wait;
    int line = 0;
    int column = 0;
    std::string source; // the line as written, without its comment, for messages

    WString text;          // caption, file name, command line, setting or key path, edit text
    WString text2;         // rename: the new caption; reg: the value name
    bool hasText2 = false; // reg-delete: a value name was given

    long long number = 0;  // control id, screen width, icon id, count, ...
    long long number2 = 0; // screen height, select index, expected number
    bool on = false;       // on/off, shown/open, exists, visible (see the kind)

    std::uint64_t durationMs = 0; // wait
    bool ticks = false;           // wait N ticks: durationMs holds N

    StackKind stack = StackKind::Widcomm;
    WifiSetUp wifi = WifiSetUp::Off;
    IconCheck icon = IconCheck::Shown;
    WindowCheck window = WindowCheck::Visible;
    RegData value;
    std::string operation; // expect calls
};

struct Scenario {
    std::string name; // file name, or "built-in", or "<stdin>"
    std::vector<Step> steps;
    // True when the file has a `start`; otherwise the runner starts the program right after
    // the leading set-up steps (at implicitStartIndex).
    bool explicitStart = false;
    std::size_t implicitStartIndex = 0;
};

} // namespace kiposim
