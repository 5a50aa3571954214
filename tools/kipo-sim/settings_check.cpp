#include "tools/kipo-sim/settings_check.h"

#include <cstring>
#include <map>
#include <set>
#include <string_view>

#include "app/main_frame.h"
#include "engine/decision_observer.h"
#include "platform/sim/device.h"
#include "settings/rule_lists.h"
#include "settings/settings_store.h"
#include "tools/kipo-sim/reg_type_name.h"
#include "tools/kipo-sim/run_log.h"
#include "tools/kipo-sim/settings_probe.h"

namespace kiposim {

namespace {

// One piece of a list text, as the program's builder read it.
struct Piece {
    const SettingValue* value;
    int number;    // 1-based position in the text, as the user counts between ";"
    WString raw;   // as written, letter case kept
    bool wifi;     // the radio whose list it went to
    bool prefixed; // "#b"/"#w" removed
    bool added;    // it made an entry
    WString entry; // the entry (lower case)
};

using WStringView = std::basic_string_view<WCHAR>;
// Entries of one list and radio, sorted, each with its first piece.
using EntryIndex = std::map<WString, const Piece*, std::less<>>;

class PieceCollector : public RuleListReader {
  public:
    PieceCollector(const SettingValue& value, const WString& text, std::vector<Piece>& pieces)
        : value_(value), text_(text), pieces_(pieces) {}
    void OnPiece(const RuleListPiece& p) override {
        pieces_.push_back(Piece{&value_, ++number_, text_.substr(p.offset, p.length), p.wifi,
                                p.prefixed, p.entry != nullptr,
                                p.entry != nullptr ? *p.entry : WString()});
    }

  private:
    const SettingValue& value_;
    const WString& text_;
    std::vector<Piece>& pieces_;
    int number_ = 0;
};

// Hears one probe tick: the first decision of each radio and whether the tick ended early.
class ProbeObserver : public CDecisionObserver {
  public:
    void OnDecision(const TickDecision& d) override {
        const int r = d.radio == TickRadio::Bluetooth ? 0 : 1;
        if (decided[r])
            return;
        decided[r] = true;
        rule[r] = d.rule;
        index[r] = d.index;
        on[r] = d.on;
        entry[r] = d.entry != nullptr ? *d.entry : WString();
    }
    void OnTickEnd(bool ended) override { endedEarly = ended; }

    bool decided[2] = {};
    TickRule rule[2] = {};
    int index[2] = {-1, -1};
    bool on[2] = {};
    WString entry[2];
    bool endedEarly = false;
};

const char* RadioWord(bool wifi) {
    return wifi ? "WiFi" : "Bluetooth";
}

std::string Quote(const WString& text) {
    return QuoteCaption(text, 60);
}

std::string Where(const Piece& p) {
    return ToUtf8(p.value->name) + " entry " + std::to_string(p.number) + " " + Quote(p.raw);
}

// The longer of two entries when one begins with the other: a caption that begins with it
// matches both. Empty when no caption matches both.
WString Overlap(const WString& a, const WString& b) {
    if (BeginsWith(a, b))
        return a;
    if (BeginsWith(b, a))
        return b;
    return WString();
}

bool IsPrefixLetter(WCHAR c) {
    return c == u'b' || c == u'B' || c == u'w' || c == u'W';
}

std::string RuleWords(TickRule rule) {
    switch (rule) {
    case TickRule::OffList:
        return "the OffList entry";
    case TickRule::RunningList:
        return "the OnRunList entry";
    case TickRule::OnActiveList:
        return "the OnList entry";
    case TickRule::DefaultAction:
        return "the default action";
    case TickRule::KnownOff:
        return "the known state";
    }
    return "?";
}

class Checker {
  public:
    explicit Checker(SettingsProbe& probe) : probe_(probe), frame_(probe.Frame()) {}

    std::vector<Finding> Run() {
        Types();
        Stack();
        ReadPieces();
        for (const Piece& p : pieces_)
            PieceText(p);
        Covered();
        Conflicts();
        EarlyEnd();
        // Last: it runs the settings dialog, whose OK rewrites the values.
        Integers();
        return std::move(findings_);
    }

  private:
    void Add(std::string where, std::string text, std::string kind) {
        findings_.push_back({std::move(where), std::move(text), std::move(kind)});
    }

    void ReadPieces() {
        for (const SettingValue* value : {&OnListValue, &OffListValue, &OnRunListValue}) {
            const WString text = probe_.Text(*value);
            RuleList bluetooth, wifi;
            PieceCollector collector(*value, text, pieces_);
            BuildRuleLists(text, frame_.DefControl, bluetooth, wifi, &collector);
        }
    }

    // White space and prefixes of one piece as written.
    void PieceText(const Piece& p) {
        const WString& raw = p.raw;
        // A prefix that does not stand first: white space or other text before it.
        for (std::size_t at = 1; at + 1 < raw.size(); ++at) {
            if (raw[at] != u'#' || !IsPrefixLetter(raw[at + 1]))
                continue;
            std::size_t before = 0;
            while (before < at && IsSpaceW(raw[before]))
                ++before;
            const WString rest = raw.substr(at);
            if (before == at)
                Add(Where(p),
                    "the prefix " + Quote(raw.substr(at, 2)) +
                        " has white space before it, so it is ordinary text: the entry " +
                        Quote(p.entry) + " goes to the " + RadioWord(p.wifi) +
                        " list and matches only captions that begin with it; probably meant " +
                        Quote(rest) + " (no space after the \";\" before it)",
                    "prefix-not-first");
            else
                Add(Where(p),
                    "the prefix " + Quote(raw.substr(at, 2)) +
                        " stands inside the entry, so it is ordinary text: the entry " +
                        Quote(p.entry) + " goes to the " + RadioWord(p.wifi) +
                        " list; probably meant two entries, " + Quote(raw.substr(0, at)) + " and " +
                        Quote(rest) + ", separated by \";\"",
                    "prefix-not-first");
            return;
        }
        // The builder took no prefix from it: "#" stands before some other character.
        if (!raw.empty() && raw[0] == u'#' && !p.prefixed) {
            Add(Where(p),
                "\"#\" is not followed by b or w, so it is no prefix: the entry " + Quote(p.entry) +
                    " goes to the " + RadioWord(p.wifi) +
                    " list and matches only captions that begin with it; probably meant \"#b\" "
                    "(Bluetooth) or \"#w\" (WiFi)",
                "prefix-unknown");
            return;
        }
        if (p.prefixed && !p.added) {
            Add(Where(p),
                "a prefix alone adds no entry: Kipo ignores it; probably meant a caption after "
                "the prefix",
                "prefix-alone");
            return;
        }
        if (!p.added)
            return;
        const WString& e = p.entry;
        std::size_t first = 0;
        while (first < e.size() && IsSpaceW(e[first]))
            ++first;
        std::size_t last = e.size();
        while (last > first && IsSpaceW(e[last - 1]))
            --last;
        if (first == e.size()) {
            Add(Where(p),
                "the entry is only white space, so Kipo matches captions that begin with " +
                    std::to_string(e.size()) +
                    " white-space characters; probably meant no entry (two \";\" in a row)",
                "space");
            return;
        }
        // "HR: " keeps its space on purpose: it matches "HR: name" captions, not "HRM".
        const bool deliberate = last < e.size() && e[last - 1] == u':';
        if (first > 0 || (last < e.size() && !deliberate)) {
            const std::string side = first > 0 && last < e.size() ? "begins and ends"
                                     : first > 0                  ? "begins"
                                                                  : "ends";
            const std::string match = p.value == &OnRunListValue
                                          ? "only a window whose whole caption is " + Quote(e)
                                          : "only captions that begin with " + Quote(e);
            Add(Where(p),
                "the entry " + side +
                    " with white space, which Kipo keeps (entries are not trimmed), so it "
                    "matches " +
                    match + "; probably meant " + Quote(e.substr(first, last - first)) +
                    " (no space next to \";\")",
                "space");
        }
    }

    // An entry that an earlier entry of the same list and radio already covers. Earlier
    // entries are kept sorted, so each entry costs a look-up per prefix length, not a scan.
    void Covered() {
        std::map<std::pair<const SettingValue*, bool>, EntryIndex> earlier;
        for (const Piece& later : pieces_) {
            if (!later.added || !Paired(later))
                continue;
            EntryIndex& index = earlier[{later.value, later.wifi}];
            if (const Piece* same = Find(index, later.entry)) {
                Add(Where(later),
                    "the same " + std::string(RadioWord(later.wifi)) + " entry as entry " +
                        std::to_string(same->number) +
                        " (letter case aside): written twice, it can never decide; probably "
                        "meant another caption, or nothing",
                    "twice");
                continue;
            }
            const Piece* cover = nullptr;
            if (later.value != &OnRunListValue)
                for (std::size_t n = 1; n < later.entry.size() && cover == nullptr; ++n)
                    cover = Find(index, WStringView(later.entry.data(), n));
            if (cover != nullptr)
                Add(Where(later),
                    "can never decide: entry " + std::to_string(cover->number) + " " +
                        Quote(cover->raw) + " of the same " + RadioWord(later.wifi) +
                        " list comes first and matches every caption that begins with " +
                        Quote(later.entry) +
                        "; probably meant the longer entry first, or only one of them",
                    "covered");
            index.emplace(later.entry, &later);
        }
    }

    static const Piece* Find(const EntryIndex& index, WStringView entry) {
        const auto it = index.find(entry);
        return it != index.end() ? it->second : nullptr;
    }

    // The entries of `index` that share a caption beginning with `entry`: its own prefixes,
    // and the entries it is a prefix of.
    static std::vector<const Piece*> Overlapping(const EntryIndex& index, const WString& entry) {
        std::vector<const Piece*> found;
        for (std::size_t n = 1; n < entry.size(); ++n)
            if (const Piece* p = Find(index, WStringView(entry.data(), n)))
                found.push_back(p);
        for (auto it = index.lower_bound(WStringView(entry));
             it != index.end() && BeginsWith(it->first, entry); ++it)
            found.push_back(it->second);
        return found;
    }

    // The first piece of each entry of one list and radio.
    EntryIndex IndexOf(const SettingValue& value, bool wifi) {
        EntryIndex index;
        for (const Piece& p : pieces_)
            if (p.added && p.value == &value && p.wifi == wifi && Paired(p))
                index.emplace(p.entry, &p);
        return index;
    }

    // Entries compared with one another: the first kMaxPairedEntries of each text. Real lists
    // are far shorter; a longer one is said once, not compared for minutes.
    bool Paired(const Piece& p) {
        if (p.number <= kMaxPairedEntries)
            return true;
        if (!unpaired_.count(p.value)) {
            unpaired_.insert(p.value);
            Add(ToUtf8(p.value->name),
                "has more than " + std::to_string(kMaxPairedEntries) +
                    " entries: the ones after that were checked one by one, not against each "
                    "other; probably meant a shorter list",
                "limit");
        }
        return false;
    }

    // Every probe is one tick of the real engine; a pathological list could ask for millions.
    bool MayProbe() {
        if (probes_ < kMaxProbes) {
            ++probes_;
            return true;
        }
        ++skipped_;
        return false;
    }

    std::string OverrideWords() const {
        return frame_.OffTakesPrecedence != 0
                   ? "with \"Override \"On\" lists\" checked (OffTakesPrecedence " +
                         std::to_string(frame_.OffTakesPrecedence) + ")"
                   : "with \"Override \"On\" lists\" clear (OffTakesPrecedence 0)";
    }

    std::string Outcome(const ProbeObserver& seen, bool wifi) const {
        const int r = wifi ? 1 : 0;
        if (!seen.decided[r])
            return seen.endedEarly && wifi
                       ? "neither decides: a Bluetooth OnList entry ends the evaluation first"
                       : "neither decides";
        std::string who = RuleWords(seen.rule[r]);
        if (seen.index[r] >= 0)
            who += " " + Quote(seen.entry[r]);
        return who + " wins: " + RadioWord(wifi) + " is turned " + (seen.on[r] ? "on" : "off");
    }

    // The same caption beginning in an Active list and the off list of the same radio.
    void Conflicts() {
        for (const bool wifi : {false, true}) {
            const EntryIndex offs = IndexOf(OffListValue, wifi);
            for (const auto& [entry, a] : IndexOf(OnListValue, wifi)) {
                for (const Piece* o : Overlapping(offs, entry)) {
                    if (!MayProbe())
                        continue;
                    const WString caption = Overlap(a->entry, o->entry);
                    ProbeObserver seen;
                    probe_.Tick(caption, {}, seen);
                    Add(Where(*a),
                        "and OffList entry " + std::to_string(o->number) + " " + Quote(o->raw) +
                            " both match captions that begin with " + Quote(caption) + " (" +
                            RadioWord(wifi) + "); " + OverrideWords() + " " + Outcome(seen, wifi) +
                            "; probably meant only one of them, or the other setting of "
                            "\"Override \"On\" lists\"",
                        "on-off-conflict");
                }
            }
        }
    }

    // A Bluetooth OnList match ends the evaluation, silencing WiFi rules for that caption.
    void EarlyEnd() {
        const EntryIndex wifiActive = IndexOf(OnListValue, true);
        const EntryIndex wifiOff = IndexOf(OffListValue, true);
        const LONG action = frame_.WFDefaultAction;
        for (const auto& [entry, b] : IndexOf(OnListValue, false)) {
            bool silenced = false;
            for (const EntryIndex* index : {&wifiActive, &wifiOff}) {
                for (const Piece* w : Overlapping(*index, entry)) {
                    if (!MayProbe())
                        continue;
                    const WString caption = Overlap(b->entry, w->entry);
                    ProbeObserver seen;
                    probe_.Tick(caption, {}, seen);
                    if (!seen.endedEarly || seen.decided[1])
                        continue;
                    silenced = true;
                    Add(Where(*b),
                        "ends Kipo's evaluation for captions that begin with " + Quote(caption) +
                            ": WiFi's " + ToUtf8(w->value->name) + " entry " +
                            std::to_string(w->number) + " " + Quote(w->raw) +
                            " is never tried for them (a Bluetooth OnList match skips the WiFi "
                            "OnList, both off lists and both default actions); probably meant "
                            "WiFi to follow its own rule there, which needs a caption the "
                            "Bluetooth entry does not begin",
                        "early-end");
                }
            }
            if (silenced || (action != 1 && action != 2) || !MayProbe())
                continue;
            ProbeObserver seen;
            probe_.Tick(b->entry, {}, seen);
            if (seen.endedEarly && !seen.decided[1])
                Add(Where(*b),
                    "ends Kipo's evaluation for captions that begin with " + Quote(b->entry) +
                        ": WiFi's default action (" + (action == 1 ? "Turn On" : "Turn Off") +
                        ") is skipped for them; probably meant WiFi to be " +
                        (action == 1 ? "turned on" : "turned off") + " there too",
                    "early-end");
        }
        if (skipped_ > 0)
            Add("OnList and OffList",
                std::to_string(skipped_) +
                    " more pairs of entries that begin one another were not tried (after " +
                    std::to_string(kMaxProbes) + "); probably meant fewer such entries",
                "limit");
    }

    // Integer values the dialog cannot show, or that select nothing.
    void Integers() {
        struct Range {
            const SettingValue* value;
            LONG member;
            LONG highest; // 0..highest are the dialog's items (or the check box's states)
            bool checkBox;
            const char* does;  // what Kipo does with any other value
            const char* meant; // the values the dialog offers
        };
        const Range ranges[] = {
            {&DefaultActionValue, frame_.DefaultAction, 2, false,
             "Kipo takes it as \"Leave\": when no list decides, Bluetooth is left as it is",
             "0 (Leave), 1 (Turn On) or 2 (Turn Off)"},
            {&WFDefaultActionValue, frame_.WFDefaultAction, 2, false,
             "Kipo takes it as \"Leave\": when no list decides, WiFi is left as it is",
             "0 (Leave), 1 (Turn On) or 2 (Turn Off)"},
            {&BTControlValue, frame_.BTControl, 1, false,
             "it selects no stack: Kipo never switches Bluetooth (its turn operations do "
             "nothing)",
             "0 (Widcomm) or 1 (Microsoft)"},
            {&DefControlValue, frame_.DefControl, 1, false,
             "entries without a prefix go to the Bluetooth lists, as with 0",
             "0 (Bluetooth) or 1 (WiFi)"},
            {&OffTakesPrecedenceValue, frame_.OffTakesPrecedence, 1, true,
             "Kipo takes any value but 0 as checked: the off list is consulted first",
             "0 (clear) or 1 (checked)"},
            {&KeepPDAOnValue, frame_.KeepPDAOn, 1, true,
             "Kipo takes any value but 0 as checked: it keeps the device awake while a radio "
             "is known on",
             "0 (clear) or 1 (checked)"},
        };
        bool any = false;
        for (const Range& r : ranges)
            any = any || r.member < 0 || r.member > r.highest;
        if (!any)
            return;
        // What OK would write, from the real dialog.
        const std::vector<sim::RegValue> written = probe_.WrittenByOk();
        for (const Range& r : ranges) {
            if (r.member >= 0 && r.member <= r.highest)
                continue;
            LONG ok = 0;
            for (std::size_t i = 0; i < written.size(); ++i)
                if (SettingValues[i].name == r.value->name && written[i].data.size() == 4)
                    std::memcpy(&ok, written[i].data.data(), 4);
            std::string shows;
            if (r.checkBox)
                shows =
                    ok == 0 ? "the dialog shows the box clear" : "the dialog shows the box checked";
            else
                shows = ok < 0 ? "the dialog shows no item"
                               : "the dialog shows item " + std::to_string(ok);
            Add(ToUtf8(r.value->name) + " " + std::to_string(r.member),
                std::string("a value the dialog does not offer: ") + r.does + "; " + shows +
                    ", and OK there writes " + std::to_string(ok) + "; probably meant " + r.meant,
                "range");
        }
    }

    // Values of another registry type than Kipo writes, and how Kipo reads them.
    void Types() {
        for (const SettingValue& value : SettingValues) {
            const sim::RegValue* raw = probe_.Raw(value);
            const DWORD expected = value.type == SettingType::Int ? REG_DWORD : REG_SZ;
            if (raw == nullptr || raw->type == expected)
                continue;
            std::string reads;
            if (value.type == SettingType::Int) {
                const int read =
                    probe_.Store().GetProfileInt(SettingsSection, value.name, value.intDefault);
                reads = raw->data.size() > 4
                            ? "its data is " + std::to_string(raw->data.size()) +
                                  " bytes, more than four, so Kipo uses the default " +
                                  std::to_string(value.intDefault)
                            : "Kipo reads its " + std::to_string(raw->data.size()) +
                                  " bytes as the number " + std::to_string(read);
                // The text the value spells, read as the program reads texts.
                const std::string spelled = ToUtf8(probe_.Text(value));
                const bool number =
                    !spelled.empty() &&
                    spelled.find_first_not_of("0123456789", spelled[0] == '-' ? 1 : 0) ==
                        std::string::npos &&
                    spelled != "-" && spelled.size() < 10;
                reads += number ? "; probably meant dword:" + spelled + ", the number it spells"
                                : "; probably meant a number stored as REG_DWORD";
            } else {
                const WString read = probe_.Text(value);
                reads = "Kipo reads its bytes as UTF-16 text up to the first NUL: " + Quote(read) +
                        "; probably meant a plain string (REG_SZ)";
            }
            Add(ToUtf8(value.name),
                "stored as " + RegTypeName(raw->type) + ", not " + RegTypeName(expected) +
                    " as Kipo writes it: " + reads,
                "type");
        }
    }

    // The device's own Bluetooth keys, when the file holds them, against BTControl.
    void Stack() {
        const sim::Registry& reg = probe_.Device().registry;
        const bool widcomm = reg.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Widcomm"));
        const bool microsoft =
            reg.KeyExists(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\Microsoft\\Bluetooth"));
        if (widcomm == microsoft)
            return;
        const LONG control = frame_.BTControl;
        if (widcomm && control == 1)
            Add("BTControl 1",
                "chooses the Microsoft stack, but the file holds the Widcomm stack's keys "
                "(HKLM\\SOFTWARE\\Widcomm): Kipo's BthSetMode calls fail and Bluetooth never "
                "switches; probably meant 0 (Widcomm)",
                "stack");
        if (microsoft && control == 0)
            Add("BTControl 0",
                "chooses the Widcomm stack, but the file holds the Microsoft stack's keys "
                "(HKLM\\SOFTWARE\\Microsoft\\Bluetooth) and no Widcomm keys: Kipo sends its "
                "commands to a \"Bluetooth Console\" window that does not exist and Bluetooth "
                "never switches; probably meant 1 (Microsoft)",
                "stack");
    }

    static constexpr int kMaxProbes = 1000;
    static constexpr int kMaxPairedEntries = 500;

    SettingsProbe& probe_;
    CMainFrame& frame_;
    std::vector<Piece> pieces_;
    std::vector<Finding> findings_;
    int probes_ = 0;
    int skipped_ = 0;
    std::set<const SettingValue*> unpaired_;
};

} // namespace

std::vector<Finding> CheckSettings(SettingsProbe& probe) {
    Checker checker(probe);
    return checker.Run();
}

} // namespace kiposim
