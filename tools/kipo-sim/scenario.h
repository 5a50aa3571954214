// A parsed scenario: the steps of a .kipo file in file order, each with the place it was
// written, so that the runner can name the line of a step that fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "tools/kipo-sim/call_log.h"

namespace kiposim {

struct Verb;

enum class StackKind { Widcomm, Microsoft, None };
// D1 to D3: the adapter between full power and off, as a driver may leave it.
enum class WifiSetUp { On, Off, Absent, Stuck, Broken, AtD1, AtD2, AtD3 };
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

// One step as written. Its verb says what it means; each argument field below has one
// meaning, and a verb fills only those it takes.
struct Step {
    const Verb* verb = nullptr;
    int line = 0;
    int column = 0;
    std::string source; // the line as written, without its comment, for messages

    WString caption;    // a window's caption (open, close, rename's old caption, expect window)
    WString newCaption; // rename
    WString text;       // typed or expected control text, a menu item, an exe name, a command line
    WString keyPath;    // a registry key (reg, reg-delete, expect reg, expect key)
    WString valueName;  // a registry value or a setting's name
    bool hasValueName = false; // reg-delete: a value, not the whole key
    RegData value;

    int control = 0;         // a control's id
    std::string controlName; // the control's setting or label, when it has one name
    int item = 0;            // a list item (-1: none)
    WString itemText;        // the item's text, when the program's template lists it
    bool on = false;         // on/off, checked/clear
    bool yes = true;         // the state a check wants: exists, open, a foreground window at all
    long long count = 0;     // an expected number: calls, handles, period in ms, icon resource
    int width = 0;           // screen
    int height = 0;

    std::uint64_t durationMs = 0; // wait DURATION
    std::uint64_t ticks = 0;      // wait N ticks
    bool inTicks = false;         // the wait counts check-timer runs, not time

    StackKind stack = StackKind::Widcomm;
    WifiSetUp wifi = WifiSetUp::Off;
    IconCheck icon = IconCheck::Shown;
    WindowCheck window = WindowCheck::Visible;
    std::string operation;          // expect calls
    CallPattern call;               // expect call, expect no call
    std::optional<Caller> caller;   // the program whose calls count; empty: any
    bool sinceMark = false;         // count from the last `mark`, not from boot
    bool usesCallLog = false;       // the step needs the runner to log calls
    unsigned mouseMessage = 0;      // tap: the mouse message (0: the plain left-button tap)
    std::optional<unsigned> iconId; // tap: the icon id the shell names instead of Kipo's
    bool hasBoxCaption = false;     // expect box: the caption is checked too
    bool hasBoxType = false;        // expect box: the type is checked too
    unsigned boxType = 0;           // expect box: MessageBoxW's uType
    std::string member;             // expect kipo: a member of the program's main frame
    std::vector<WString> entries;   // expect kipo: a rule list's entries

    // The verb's name ("expect bt", "open-behind").
    const char* Name() const;
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
