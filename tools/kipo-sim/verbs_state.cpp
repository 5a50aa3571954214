// `expect kipo NAME VALUE`: what the program itself believes and holds, read from its main
// frame under the frame's own member names (and FindMode, the settings dialog's find-window
// mode). These look inside the program, so they say what it thinks, not what the device is.
#include <limits>

#include "app/main_frame.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/scenario_cursor.h"
#include "tools/kipo-sim/stage.h"
#include "tools/kipo-sim/verb.h"
#include "ui/settings_dlg.h"

namespace kiposim {

using parse::Cursor;

namespace {

enum class MemberKind { Number, RadioState, Text, List, FindMode, Dialog };

struct Member {
    const char* name;
    MemberKind kind;
    long long (*number)(const CMainFrame& f);
    const WString* (*text)(const CMainFrame& f);
    const RuleList* (*list)(const CMainFrame& f);
};

// Find-window mode: off; waiting for Application Button 1; capturing (Window Found is open).
long long FindModeOf(const CMainFrame& f) {
    const CSettingsDlg* dlg = f.SettingsDlg;
    if (dlg == nullptr || (dlg->FindTimerId == 0 && dlg->FindBusy == 0))
        return 0;
    return dlg->FindBusy != 0 ? 2 : 1;
}

#define KIPO_NUMBER(member)                                                                        \
    {                                                                                              \
#member, MemberKind::Number,                                                               \
            [](const CMainFrame& f) { return static_cast<long long>(f.member); }, nullptr, nullptr \
    }
#define KIPO_LIST(member)                                                                          \
    {                                                                                              \
#member, MemberKind::List, nullptr, nullptr, [](const CMainFrame& f) { return &f.member; } \
    }

const Member kMembers[] = {
    {"BtState", MemberKind::RadioState,
     [](const CMainFrame& f) { return static_cast<long long>(f.BtState); }, nullptr, nullptr},
    {"WifiState", MemberKind::RadioState,
     [](const CMainFrame& f) { return static_cast<long long>(f.WifiState); }, nullptr, nullptr},
    {"LastCaption", MemberKind::Text, nullptr, [](const CMainFrame& f) { return &f.LastCaption; },
     nullptr},
    {"ConsoleCaption", MemberKind::Text, nullptr,
     [](const CMainFrame& f) { return &f.ConsoleCaption; }, nullptr},
    KIPO_NUMBER(Busy),
    KIPO_NUMBER(KeepAliveCounter),
    KIPO_NUMBER(KeepPDAOn),
    KIPO_NUMBER(DefaultAction),
    KIPO_NUMBER(WFDefaultAction),
    KIPO_NUMBER(OffTakesPrecedence),
    KIPO_NUMBER(BTControl),
    KIPO_NUMBER(DefControl),
    KIPO_NUMBER(CheckInterval),
    KIPO_NUMBER(ConsoleOnCommand),
    KIPO_NUMBER(ConsoleOffCommand),
    KIPO_NUMBER(MenuOpen),
    KIPO_LIST(BtOnActiveList),
    KIPO_LIST(BtOnRunningList),
    KIPO_LIST(BtOffList),
    KIPO_LIST(WifiOnActiveList),
    KIPO_LIST(WifiOnRunningList),
    KIPO_LIST(WifiOffList),
    {"FindMode", MemberKind::FindMode, FindModeOf, nullptr, nullptr},
    // The open settings dialog the frame points at: a pointer left behind would show here.
    {"SettingsDlg", MemberKind::Dialog,
     [](const CMainFrame& f) { return f.SettingsDlg != nullptr ? 1LL : 0LL; }, nullptr, nullptr},
};

#undef KIPO_NUMBER
#undef KIPO_LIST

const Member* FindMember(const std::string& name) {
    for (const Member& m : kMembers)
        if (name == m.name)
            return &m;
    return nullptr;
}

std::string StateWord(MemberKind kind, long long value) {
    if (kind == MemberKind::RadioState)
        return value == 1    ? "on"
               : value == 0  ? "off"
               : value == -1 ? "undecided"
                             : std::to_string(value);
    if (kind == MemberKind::Dialog)
        return value != 0 ? "open" : "none";
    if (kind == MemberKind::FindMode)
        return value == 0 ? "off" : value == 1 ? "waiting" : "capturing";
    return std::to_string(value);
}

std::string ListText(const std::vector<WString>& entries) {
    if (entries.empty())
        return "none";
    std::string out;
    for (const WString& e : entries)
        out += (out.empty() ? "" : " ") + QuoteCaption(e, 200);
    return out;
}

void ParseMember(Cursor& c, Step& s) {
    const int column = c.Column();
    s.member = c.Word("a member of Kipo's main frame (e.g. BtState)");
    const Member* m = FindMember(s.member);
    if (m == nullptr) {
        std::string names;
        for (const Member& each : kMembers)
            names += (names.empty() ? "" : ", ") + std::string(each.name);
        c.Fail(column, "Kipo has no member `" + s.member + "` to check (" + names + ")");
    }
    switch (m->kind) {
    case MemberKind::RadioState:
        if (c.NextIsWord("on") || c.NextIsWord("off") || c.NextIsWord("undecided")) {
            const int k = c.Choice("", {"on", "off", "undecided"});
            s.count = k == 0 ? 1 : k == 1 ? 0 : -1;
        } else {
            s.count = c.Number("`on`, `off`, `undecided` or a number",
                               std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
        }
        return;
    case MemberKind::FindMode:
        s.count = c.Choice("the find-window mode", {"off", "waiting", "capturing"});
        return;
    case MemberKind::Dialog:
        s.count = c.Choice("`open` or `none`", {"none", "open"});
        return;
    case MemberKind::Number:
        s.count = c.Number("a number", std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::uint32_t>::max());
        return;
    case MemberKind::Text:
        s.text = c.String("a text");
        return;
    case MemberKind::List:
        // The entries as built (lower case), one string each; `none` for an empty list.
        if (c.NextIsWord("none")) {
            c.Word("none");
            return;
        }
        s.entries.push_back(c.String("the list's entries (or `none`)"));
        while (!c.AtEnd())
            s.entries.push_back(c.String("a list entry"));
        return;
    }
}

std::string CheckMember(Stage& stage, const Step& s) {
    const CMainFrame* frame = stage.frame;
    if (frame == nullptr)
        return "Kipo is not running (it has no main frame)";
    const Member& m = *FindMember(s.member);
    switch (m.kind) {
    case MemberKind::Number:
    case MemberKind::RadioState:
    case MemberKind::FindMode:
    case MemberKind::Dialog: {
        const long long value = m.number(*frame);
        return value == s.count ? "" : s.member + " is " + StateWord(m.kind, value);
    }
    case MemberKind::Text: {
        const WString& value = *m.text(*frame);
        return value == s.text ? "" : s.member + " is " + QuoteCaption(value, 200);
    }
    case MemberKind::List: {
        const RuleList& value = *m.list(*frame);
        return value == s.entries ? "" : s.member + " is " + ListText(value);
    }
    }
    return {};
}

const Verb kVerbs[] = {
    {"expect kipo", VerbGroup::Check, false, ParseMember, CheckMember, nullptr},
};

} // namespace

std::span<const Verb> StateVerbs() {
    return kVerbs;
}

} // namespace kiposim
