// The scenario language: every form parses to the step it means, and malformed text is
// refused with the right line and column, never a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tools/kipo-sim/control_names.h"
#include "tools/kipo-sim/scenario_parser.h"
#include "tools/kipo-sim/suggest.h"

using namespace kiposim;

namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    const char* digits = "0123456789abcdef";
    for (std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string ValueText(const RegData& v) {
    switch (v.kind) {
    case RegData::Kind::Dword:
        return "dword " + std::to_string(v.dword);
    case RegData::Kind::Sz:
        return "sz <" + ToUtf8(v.text) + ">";
    case RegData::Kind::Binary:
        return "binary " + Hex(v.bytes);
    case RegData::Kind::Absent:
        return "absent";
    }
    return "?";
}

// What the parser understood, in a compact form the table below spells out by hand.
std::string Meaning(const Step& s) {
    const std::string name = s.Name();
    std::string out = name;
    auto text = [](const WString& t) { return " <" + ToUtf8(t) + ">"; };
    auto is = [&name](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (name == n)
                return true;
        return false;
    };
    if (is({"exe", "cmdline", "menu"}))
        return out + text(s.text);
    if (is({"open", "open-behind", "front", "close"}))
        return out + text(s.caption);
    if (is({"rename"}))
        return out + text(s.caption) + text(s.newCaption);
    if (is({"screen"}))
        return out + " " + std::to_string(s.width) + "x" + std::to_string(s.height);
    if (is({"stack"}))
        return out + (s.stack == StackKind::Widcomm     ? " widcomm"
                      : s.stack == StackKind::Microsoft ? " microsoft"
                                                        : " none");
    if (is({"wifi"}))
        return out + (s.wifi == WifiSetUp::On       ? " on"
                      : s.wifi == WifiSetUp::Off    ? " off"
                      : s.wifi == WifiSetUp::Absent ? " absent"
                      : s.wifi == WifiSetUp::Stuck  ? " stuck"
                      : s.wifi == WifiSetUp::AtD1   ? " d1"
                      : s.wifi == WifiSetUp::AtD2   ? " d2"
                                                    : " d3");
    if (is({"fault"}))
        return out + " " + s.member + (s.on ? " 1" : " 0");
    if (is({"bt-mode"}))
        return out + " " + std::to_string(s.count);
    if (is({"app1-holder"}))
        return out + text(s.caption);
    if (is({"bt", "user-bt", "user-wifi", "expect bt", "expect wifi"}))
        return out + (s.on ? " 1" : " 0");
    if (is({"expect menu"}))
        return out + (s.yes ? " 1" : " 0");
    if (is({"expect key"}))
        return out + text(s.keyPath) + (s.yes ? " 1" : " 0");
    if (is({"setting", "expect setting"}))
        return out + text(s.valueName) + " " + ValueText(s.value);
    if (is({"reg", "expect reg"}))
        return out + text(s.keyPath) + text(s.valueName) + " " + ValueText(s.value);
    if (is({"reg-delete"}))
        return out + text(s.keyPath) + (s.hasValueName ? text(s.valueName) : "");
    if (is({"wait"}))
        return out + " " +
               (s.inTicks ? std::to_string(s.ticks) + " ticks"
                          : std::to_string(s.durationMs) + " ms");
    if (is({"type", "expect text"}))
        return out + " " + std::to_string(s.control) + text(s.text);
    if (is({"check", "expect checked"}))
        return out + " " + std::to_string(s.control) + (s.on ? " 1" : " 0");
    if (is({"select", "expect selected"}))
        return out + " " + std::to_string(s.control) + " " + std::to_string(s.item);
    if (is({"choose", "click"}))
        return out + " " + std::to_string(s.control);
    if (is({"tap"}))
        return out + (s.mouseMessage != 0 ? " " + std::to_string(s.mouseMessage) : "") +
               (s.iconId ? " icon " + std::to_string(*s.iconId) : "");
    if (is({"expect box"})) {
        if (!s.yes)
            return out + " none";
        return out + text(s.text) + (s.hasBoxCaption ? " caption" + text(s.caption) : "") +
               (s.hasBoxType ? " type " + std::to_string(s.boxType) : "");
    }
    if (is({"expect static"}))
        return out + text(s.text);
    if (is({"expect windows"}))
        return out + text(s.caption) + " " + std::to_string(s.count);
    if (is({"expect visible"}))
        return out + " " + std::to_string(s.control) + (s.on ? " 1" : " 0");
    if (is({"expect interval", "expect handles"}))
        return out + " " + std::to_string(s.count);
    if (is({"expect icon"}))
        return out + (s.icon == IconCheck::Shown    ? " shown"
                      : s.icon == IconCheck::Hidden ? " hidden"
                                                    : " " + std::to_string(s.count));
    if (is({"expect window"}))
        return out + text(s.caption) +
               (s.window == WindowCheck::Visible  ? " visible"
                : s.window == WindowCheck::Hidden ? " hidden"
                                                  : " absent");
    if (is({"expect foreground"}))
        return out + (s.yes ? text(s.caption) : " none");
    auto scope = [&s] {
        return std::string(s.caller ? std::string(" by ") + CallerName(*s.caller) : "") +
               (s.sinceMark ? " since-mark" : "");
    };
    if (is({"expect calls"}))
        return out + " " + s.operation + " " + std::to_string(s.count) + scope();
    if (is({"expect call", "expect no call"})) {
        out += " " + s.call.name;
        if (!s.call.anyArgs) {
            out += " [";
            for (const std::string& a : s.call.args)
                out += "<" + a + ">";
            out += s.call.moreArgs ? "...]" : "]";
        }
        return out + (s.call.result ? " = <" + *s.call.result + ">" : "") + scope();
    }
    if (is({"expect kipo"})) {
        out += " " + s.member;
        if (s.member == "LastCaption" || s.member == "ConsoleCaption")
            return out + text(s.text);
        if (s.member.find("List") != std::string::npos) {
            for (const WString& e : s.entries)
                out += text(e);
            return out + (s.entries.empty() ? " none" : "");
        }
        return out + " " + std::to_string(s.count);
    }
    return out;
}

struct FormCase {
    int line; // of this table, reported on failure
    const char* source;
    const char* meaning;
};

const FormCase kForms[] = {
    {__LINE__, "exe \"Switch.exe\"", "exe <Switch.exe>"},
    {__LINE__, "cmdline \"  750 \"", "cmdline <  750 >"},
    {__LINE__, "cmdline \"\"", "cmdline <>"},
    {__LINE__, "screen 480 640", "screen 480x640"},
    {__LINE__, "stack widcomm", "stack widcomm"},
    {__LINE__, "stack microsoft", "stack microsoft"},
    {__LINE__, "stack none", "stack none"},
    {__LINE__, "bt on", "bt 1"},
    {__LINE__, "bt off", "bt 0"},
    {__LINE__, "wifi on", "wifi on"},
    {__LINE__, "wifi off", "wifi off"},
    {__LINE__, "wifi absent", "wifi absent"},
    {__LINE__, "wifi stuck", "wifi stuck"},
    {__LINE__, "wifi d1", "wifi d1"},
    {__LINE__, "wifi d3", "wifi d3"},
    {__LINE__, "fault registry-write", "fault registry-write 1"},
    {__LINE__, "fault modal-run off", "fault modal-run 0"},
    {__LINE__, "fault load-menu", "fault load-menu 1"},
    {__LINE__, "fault timer-in-tick", "fault timer-in-tick 1"},
    {__LINE__, "fault no-unregisterfunc1 on", "fault no-unregisterfunc1 1"},
    {__LINE__, "bt-mode 2", "bt-mode 2"},
    {__LINE__, "app1-holder \"Camera\"", "app1-holder <Camera>"},
    {__LINE__, "expect kipo SettingsDlg open", "expect kipo SettingsDlg 1"},
    {__LINE__, "hold up", "hold up"},
    {__LINE__, "setting DefaultAction dword 2", "setting <DefaultAction> dword 2"},
    {__LINE__, "setting DefaultAction dword -1", "setting <DefaultAction> dword 4294967295"},
    {__LINE__, "setting OnList sz \"Inbox;#wIE\"", "setting <OnList> sz <Inbox;#wIE>"},
    {__LINE__, "setting OnList binary 41 00", "setting <OnList> binary 4100"},
    {__LINE__, "reg HKLM\\SOFTWARE\\Widcomm\\BtConfig\\General StackMode dword 4294967295",
     "reg <HKLM\\SOFTWARE\\Widcomm\\BtConfig\\General> <StackMode> dword 4294967295"},
    {__LINE__, "reg HKCU\\software\\Kipo\\Kipo\\Settings OnList sz \"a\"",
     "reg <HKCU\\software\\Kipo\\Kipo\\Settings> <OnList> sz <a>"},
    {__LINE__, "reg HKCU\\x Blob binary 00ff10", "reg <HKCU\\x> <Blob> binary 00ff10"},
    {__LINE__, "reg HKCU\\x Blob binary 00,ff,10", "reg <HKCU\\x> <Blob> binary 00ff10"},
    {__LINE__, "reg HKCU\\x Blob binary", "reg <HKCU\\x> <Blob> binary "},
    {__LINE__, "reg \"HKCU\\\\with space\" \"\" sz \"default\"",
     "reg <HKCU\\with space> <> sz <default>"},
    {__LINE__, "reg HKCU\\x Min dword -2147483648", "reg <HKCU\\x> <Min> dword 2147483648"},
    {__LINE__, "reg-delete HKCU\\software\\Kipo", "reg-delete <HKCU\\software\\Kipo>"},
    {__LINE__, "reg-delete HKCU\\software\\Kipo\\Kipo\\Settings OffList",
     "reg-delete <HKCU\\software\\Kipo\\Kipo\\Settings> <OffList>"},
    {__LINE__, "start", "start"},
    {__LINE__, "wait 1500ms", "wait 1500 ms"},
    {__LINE__, "wait 3s", "wait 3000 ms"},
    {__LINE__, "wait 2m", "wait 120000 ms"},
    {__LINE__, "wait 1h", "wait 3600000 ms"},
    {__LINE__, "wait 2d", "wait 172800000 ms"},
    {__LINE__, "wait 1d12h", "wait 129600000 ms"},
    {__LINE__, "wait 3 d", "wait 259200000 ms"},
    {__LINE__, "wait 366d", "wait 31622400000 ms"},
    {__LINE__, "wait 1m30s", "wait 90000 ms"},
    {__LINE__, "wait 0s", "wait 0 ms"},
    {__LINE__, "wait 10 s", "wait 10000 ms"},
    {__LINE__, "wait 4 ticks", "wait 4 ticks"},
    {__LINE__, "wait 1 tick", "wait 1 ticks"},
    {__LINE__, "open \"Inbox\"", "open <Inbox>"},
    {__LINE__, "open-behind \"Bluetooth Manager\"", "open-behind <Bluetooth Manager>"},
    {__LINE__, "front \"Inbox\"", "front <Inbox>"},
    {__LINE__, "close \"Inbox\"", "close <Inbox>"},
    {__LINE__, "rename \"Inbox\" \"Inbox (2)\"", "rename <Inbox> <Inbox (2)>"},
    {__LINE__, "today", "today"},
    {__LINE__, "no-front", "no-front"},
    {__LINE__, "press up", "press up"},
    {__LINE__, "release up", "release up"},
    {__LINE__, "press app1", "press app1"},
    {__LINE__, "tap", "tap"},
    {__LINE__, "tap WM_LBUTTONUP", "tap 514"},
    {__LINE__, "tap WM_RBUTTONDOWN", "tap 516"},
    {__LINE__, "tap WM_MOUSEMOVE", "tap 512"},
    {__LINE__, "tap WM_LBUTTONDBLCLK", "tap 515"},
    {__LINE__, "tap 517", "tap 517"},
    {__LINE__, "tap icon 2", "tap icon 2"},
    {__LINE__, "tap WM_LBUTTONDOWN icon 0", "tap 513 icon 0"},
    {__LINE__, "tap 513 icon 4294967295", "tap 513 icon 4294967295"},
    {__LINE__, "tap-other", "tap-other"},
    {__LINE__, "menu \"Settings\"", "menu <Settings>"},
    {__LINE__, "dismiss", "dismiss"},
    {__LINE__, "type 1000 \"Inbox;\"", "type 1000 <Inbox;>"},
    {__LINE__, "check 1012 on", "check 1012 1"},
    {__LINE__, "check 1011 off", "check 1011 0"},
    {__LINE__, "select 1002 2", "select 1002 2"},
    {__LINE__, "select 1002 -1", "select 1002 -1"},
    {__LINE__, "choose 1010", "choose 1010"},
    {__LINE__, "click 1005", "click 1005"},
    {__LINE__, "click OK", "click 1"},
    {__LINE__, "click Cancel", "click 2"},
    {__LINE__, "click Retry", "click 4"},
    {__LINE__, "click Yes", "click 6"},
    {__LINE__, "click No", "click 7"},
    // Controls by the setting they edit or by their label; list items by their text.
    {__LINE__, "type OnList \"Inbox;\"", "type 1000 <Inbox;>"},
    {__LINE__, "type OnRunList \"\"", "type 1003 <>"},
    {__LINE__, "check KeepPDAOn on", "check 1012 1"},
    {__LINE__, "check OffTakesPrecedence off", "check 1011 0"},
    {__LINE__, "select WFDefaultAction \"Turn Off\"", "select 1008 2"},
    {__LINE__, "select DefaultAction \"Leave\"", "select 1002 0"},
    {__LINE__, "select BTControl \"Microsoft\"", "select 1006 1"},
    {__LINE__, "select DefControl -1", "select 1007 -1"},
    {__LINE__, "select 1007 \"WiFi\"", "select 1007 1"},
    {__LINE__, "click \"Find Window!\"", "click 1005"},
    {__LINE__, "click \"Add To\"", "click 1"},
    {__LINE__, "choose Running", "choose 1010"},
    {__LINE__, "check \"Continue find mode\" on", "check 1009 1"},
    {__LINE__, "expect text OnList \"a\"", "expect text 1000 <a>"},
    {__LINE__, "expect text \"Find Window!\" \"Find Window!\"", "expect text 1005 <Find Window!>"},
    {__LINE__, "expect checked KeepPDAOn off", "expect checked 1012 0"},
    {__LINE__, "expect checked Running on", "expect checked 1010 1"},
    {__LINE__, "expect selected WFDefaultAction \"Turn On\"", "expect selected 1008 1"},
    {__LINE__, "user-bt on", "user-bt 1"},
    {__LINE__, "user-wifi off", "user-wifi 0"},
    {__LINE__, "expect bt on", "expect bt 1"},
    {__LINE__, "expect wifi off", "expect wifi 0"},
    {__LINE__, "expect running", "expect running"},
    {__LINE__, "expect ended", "expect ended"},
    {__LINE__, "expect icon shown", "expect icon shown"},
    {__LINE__, "expect icon hidden", "expect icon hidden"},
    {__LINE__, "expect icon 137", "expect icon 137"},
    {__LINE__, "expect menu open", "expect menu 1"},
    {__LINE__, "expect menu closed", "expect menu 0"},
    {__LINE__, "expect window \"Kipo Settings\" visible", "expect window <Kipo Settings> visible"},
    {__LINE__, "expect window \"Kipo Settings\" hidden", "expect window <Kipo Settings> hidden"},
    {__LINE__, "expect window \"Kipo Settings\" absent", "expect window <Kipo Settings> absent"},
    {__LINE__, "expect foreground \"Desktop\"", "expect foreground <Desktop>"},
    {__LINE__, "expect foreground none", "expect foreground none"},
    {__LINE__, "expect text 1001 \"HR: ;\"", "expect text 1001 <HR: ;>"},
    {__LINE__, "expect checked 1012 on", "expect checked 1012 1"},
    {__LINE__, "expect selected 1006 -1", "expect selected 1006 -1"},
    {__LINE__, "expect setting KeepPDAOn dword 1", "expect setting <KeepPDAOn> dword 1"},
    {__LINE__, "expect setting OffList sz \"\"", "expect setting <OffList> sz <>"},
    {__LINE__, "expect setting OnList absent", "expect setting <OnList> absent"},
    {__LINE__, "expect reg HKLM\\SOFTWARE\\W StackMode dword 1",
     "expect reg <HKLM\\SOFTWARE\\W> <StackMode> dword 1"},
    {__LINE__, "expect reg HKCU\\a b absent", "expect reg <HKCU\\a> <b> absent"},
    {__LINE__, "expect key HKCU\\software\\Kipo exists", "expect key <HKCU\\software\\Kipo> 1"},
    {__LINE__, "expect key HKCU\\software\\Kipo absent", "expect key <HKCU\\software\\Kipo> 0"},
    {__LINE__, "expect interval 750", "expect interval 750"},
    {__LINE__, "expect interval -5", "expect interval -5"},
    {__LINE__, "expect calls SetDevicePower 2", "expect calls SetDevicePower 2"},
    {__LINE__, "expect handles 0", "expect handles 0"},
    {__LINE__, "mark", "mark"},
    {__LINE__, "expect calls SendMessageW 2 by widcomm", "expect calls SendMessageW 2 by Widcomm"},
    {__LINE__, "expect calls Sleep 0 since mark", "expect calls Sleep 0 since-mark"},
    {__LINE__, "expect calls Sleep 1 since mark by kipo",
     "expect calls Sleep 1 by Kipo since-mark"},
    {__LINE__, "expect calls Sleep 1 by others since mark",
     "expect calls Sleep 1 by others since-mark"},
    {__LINE__, "expect call \"SetTimer\"", "expect call SetTimer"},
    {__LINE__, "expect call \"GetForegroundWindow()\"", "expect call GetForegroundWindow []"},
    {__LINE__, "expect call \"RegisterHotKey(dialog, 0xC1, 0x1008, 0xC1) = 1\" by kipo",
     "expect call RegisterHotKey [<dialog><0xC1><0x1008><0xC1>] = <1> by Kipo"},
    {__LINE__, "expect call \" KernelIoControl(0x01010127, ...)\"",
     "expect call KernelIoControl [<0x01010127>...]"},
    // Commas inside quotes or braces stay inside one argument.
    {__LINE__, "expect call \"F(\\\"a, b\\\", {01, 02}, *)\"",
     "expect call F [<\"a, b\"><{01, 02}><*>]"},
    {__LINE__, "expect no call \"SHInitDialog\" by kipo", "expect no call SHInitDialog by Kipo"},
    {__LINE__, "expect kipo BtState on", "expect kipo BtState 1"},
    {__LINE__, "expect kipo WifiState undecided", "expect kipo WifiState -1"},
    {__LINE__, "expect kipo WifiState 7", "expect kipo WifiState 7"},
    {__LINE__, "expect kipo LastCaption \"inbox\"", "expect kipo LastCaption <inbox>"},
    {__LINE__, "expect kipo BtOffList \"a\" \"b c\"", "expect kipo BtOffList <a> <b c>"},
    {__LINE__, "expect kipo WifiOnRunningList none", "expect kipo WifiOnRunningList none"},
    {__LINE__, "expect kipo FindMode capturing", "expect kipo FindMode 2"},
    {__LINE__, "expect kipo KeepAliveCounter 21", "expect kipo KeepAliveCounter 21"},
    {__LINE__, "expect static \"Kipo Version 0.67\"", "expect static <Kipo Version 0.67>"},
    {__LINE__, "expect static \"\"", "expect static <>"},
    {__LINE__, "expect windows \"Notes\" 2", "expect windows <Notes> 2"},
    {__LINE__, "expect windows \"About Kipo\" 0", "expect windows <About Kipo> 0"},
    {__LINE__, "expect visible Test off", "expect visible 1015 0"},
    {__LINE__, "expect visible \"Find Window!\" on", "expect visible 1005 1"},
    {__LINE__, "expect visible 1014 off", "expect visible 1014 0"},
    {__LINE__, "expect visible OnList on", "expect visible 1000 1"},
    {__LINE__, "expect box none", "expect box none"},
    {__LINE__, "expect box \"Go\"", "expect box <Go>"},
    {__LINE__, "expect box \"Go\" caption \"Kipo\"", "expect box <Go> caption <Kipo>"},
    {__LINE__, "expect box \"Go\" type 65584", "expect box <Go> type 65584"},
    {__LINE__, "expect box \"Go\" type MB_OK|MB_ICONEXCLAMATION|MB_SETFOREGROUND",
     "expect box <Go> type 65584"},
    {__LINE__, "expect box \"Go\" type MB_YESNO|MB_ICONQUESTION caption \"K\"",
     "expect box <Go> caption <K> type 36"},
    {__LINE__, "expect box \"Go\" type MB_OK", "expect box <Go> type 0"},
    // Long texts: * repeats a string, + joins strings, wherever a string is taken.
    {__LINE__, "open \"ab\" * 3", "open <ababab>"},
    {__LINE__, "open \"x\" * 0", "open <>"},
    {__LINE__, "open \"\" * 1000000", "open <>"},
    {__LINE__, "type OnList \"#b\" + \"x\" * 2 + \";\"", "type 1000 <#bxx;>"},
    {__LINE__, "setting OnList sz \"a;\" * 2", "setting <OnList> sz <a;a;>"},
    {__LINE__, "reg \"HKCU\\\\a\" + \"b\" N dword 1", "reg <HKCU\\ab> <N> dword 1"},
    {__LINE__, "expect kipo BtOffList \"a\" * 2 \"b\"", "expect kipo BtOffList <aa> <b>"},
    {__LINE__, "rename \"a\" * 2 \"b\" + \"c\"", "rename <aa> <bc>"},
    {__LINE__, "open \"a * 3\"", "open <a * 3>"},
    // Blanks, tabs, comments and signs around the words.
    {__LINE__, "\t wait\t  +3s   # a comment", "wait 3000 ms"},
    {__LINE__, "open \"a # not a comment\" # a comment", "open <a # not a comment>"},
    {__LINE__, "open\"Inbox\"", "open <Inbox>"},
};

TEST(ScenarioParser, EveryFormParsesToWhatItMeans) {
    for (const FormCase& c : kForms) {
        SCOPED_TRACE("table line " + std::to_string(c.line) + ": " + c.source);
        // `start` must not be followed by set-up; put each form after the set-up it needs.
        try {
            Scenario s = ParseScenario(c.source, "t");
            ASSERT_EQ(s.steps.size(), 1u);
            EXPECT_EQ(Meaning(s.steps[0]), c.meaning);
            EXPECT_EQ(s.steps[0].line, 1);
        } catch (const ScenarioError& e) {
            ADD_FAILURE() << e.Describe("t");
        }
    }
}

struct StringCase {
    int line;
    const char* source;
    WString text;
};

TEST(ScenarioParser, StringEscapesAndUnicode) {
    const StringCase cases[] = {
        {__LINE__, R"(open "say \"hi\"")", u"say \"hi\""},
        {__LINE__, R"(open "back\\slash")", u"back\\slash"},
        {__LINE__, R"(open "a\nb\tc")", u"a\nb\tc"},
        {__LINE__, R"(open "\u{41}\u{e9}\u{20AC}")", u"A\u00e9\u20ac"},
        // Above U+FFFF: a surrogate pair.
        {__LINE__, R"(open "\u{1F600}")",
         WString{static_cast<WCHAR>(0xD83D), static_cast<WCHAR>(0xDE00)}},
        {__LINE__, R"(open "\u{10FFFF}")",
         WString{static_cast<WCHAR>(0xDBFF), static_cast<WCHAR>(0xDFFF)}},
        // A lone surrogate stays one code unit: captions may hold one.
        {__LINE__, R"(open "x\u{D800}")", WString{u'x', static_cast<WCHAR>(0xD800)}},
        {__LINE__, R"(open "\u{0}")", WString(1, u'\0')},
        // UTF-8 in the file becomes UTF-16.
        {__LINE__, "open \"\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0\"",
         u"\u041f\u043e\u0447\u0442\u0430"},
        {__LINE__, "open \"\xF0\x9F\x98\x80\"",
         WString{static_cast<WCHAR>(0xD83D), static_cast<WCHAR>(0xDE00)}},
        {__LINE__, R"(open "")", u""},
    };
    for (const StringCase& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        Scenario s = ParseScenario(c.source, "t");
        ASSERT_EQ(s.steps.size(), 1u);
        EXPECT_EQ(s.steps[0].caption, c.text);
    }
}

struct ErrorCase {
    int line;
    const char* source;
    int errorLine;
    int errorColumn;
    const char* fragment; // must occur in the message
};

const ErrorCase kErrors[] = {
    {__LINE__, "opne \"Inbox\"", 1, 1, "unknown step `opne`"},
    {__LINE__, "wait 1s\n\n   frobnicate", 3, 4, "unknown step `frobnicate`"},
    {__LINE__, "expect colour blue", 1, 8, "unknown check `expect colour`"},
    {__LINE__, "expect no thing", 1, 8, "unknown check `expect no thing`"},
    {__LINE__, "expect call SetTimer", 1, 13, "a call like a trace line"},
    {__LINE__, "expect call \"SetTimer(1, 2\"", 1, 13, "no closing parenthesis"},
    {__LINE__, "expect call \"(1)\"", 1, 13, "begins with the operation's name"},
    {__LINE__, "expect call \"Set Timer\"", 1, 13, "expected `= RESULT`"},
    {__LINE__, "expect call \"F(a,,b)\"", 1, 13, "an empty argument"},
    {__LINE__, "expect call \"F() =\"", 1, 13, "missing the result"},
    {__LINE__, "expect call \"F\" by kipo by kipo", 1, 25, "unexpected `by`"},
    {__LINE__, "expect call \"F\" since mark", 1, 17, "unexpected `since`"},
    {__LINE__, "expect calls F 1 by shell", 1, 21, "a program (`kipo`, `widcomm` or `others`)"},
    {__LINE__, "expect calls F 1 since then", 1, 24, "`mark`"},
    {__LINE__, "expect kipo Frobs 1", 1, 13, "Kipo has no member `Frobs`"},
    {__LINE__, "expect kipo BtState maybe", 1, 21, "`on`, `off`, `undecided` or a number"},
    {__LINE__, "expect kipo FindMode on", 1, 22, "the find-window mode"},
    {__LINE__, "expect kipo BtOffList inbox", 1, 23, "the list's entries (or `none`)"},
    {__LINE__, "expect kipo LastCaption inbox", 1, 25, "a text in double quotes"},
    // A likely typo names the verb it is close to; a far one names none.
    {__LINE__, "wiat 3s", 1, 1, "unknown step `wiat`; did you mean `wait`?"},
    {__LINE__, "opne \"Inbox\"", 1, 1, "did you mean `open`?"},
    {__LINE__, "Expect bt on", 1, 1, "did you mean `expect`?"},
    {__LINE__, "expect wfi on", 1, 8, "unknown check `expect wfi`; did you mean `expect wifi`?"},
    {__LINE__, "expect iocn shown", 1, 8, "did you mean `expect icon`?"},
    {__LINE__, "open \"a\\qb\"", 1, 8, "bad escape \\q"},
    {__LINE__, "open \"\\u{110000}\"", 1, 7, "above U+10FFFF"},
    {__LINE__, "open \"\\u{}\"", 1, 7, "bad escape"},
    {__LINE__, "open \"\\u41\"", 1, 7, "bad escape"},
    {__LINE__, "open \"\\u{1234567}\"", 1, 7, "too many hex digits"},
    {__LINE__, "open \"unterminated", 1, 6, "closing quote"},
    {__LINE__, "# fine\nopen \"x\\", 2, 8, "closing quote"},
    {__LINE__, "open \"ab\"cd", 1, 10, "a blank must follow a string"},
    {__LINE__, "open Inbox", 1, 6, "expected a caption in double quotes, found `Inbox`"},
    {__LINE__, "open", 1, 5, "missing a caption"},
    {__LINE__, "rename \"a\"", 1, 11, "missing the new caption"},
    {__LINE__, "wait", 1, 5, "missing a duration"},
    {__LINE__, "wait 3", 1, 6, "needs a unit"},
    {__LINE__, "wait 3x", 1, 6, "bad duration `3x`"},
    {__LINE__, "wait 1.5s", 1, 6, "bad duration"},
    {__LINE__, "wait s", 1, 6, "bad duration"},
    {__LINE__, "wait -3s", 1, 6, "cannot be negative"},
    {__LINE__, "wait -3 ticks", 1, 6, "cannot be negative"},
    {__LINE__, "wait 99999999999999999999ms", 1, 6, "longer than a year"},
    {__LINE__, "wait 9000h", 1, 6, "longer than a year"},
    {__LINE__, "wait 367d", 1, 6, "longer than a year"},
    {__LINE__, "wait 366d1ms", 1, 6, "longer than a year"},
    {__LINE__, "wait 400 d", 1, 6, "longer than a year"},
    {__LINE__, "wait 2days", 1, 6,
     "bad duration `2days` (write 1500ms, 3s, 2m, 1h, 2d or N ticks)"},
    {__LINE__, "wait 1.5d", 1, 6, "bad duration"},
    {__LINE__, "expect static 1000 \"x\"", 1, 15, "expected a static text in double quotes"},
    {__LINE__, "expect static", 1, 14, "missing a static text"},
    {__LINE__, "expect windows Notes 2", 1, 16, "expected a caption in double quotes"},
    {__LINE__, "expect windows \"Notes\"", 1, 23, "missing a window count"},
    {__LINE__, "expect windows \"Notes\" -1", 1, 24, "out of range"},
    {__LINE__, "expect windows \"Notes\" many", 1, 24, "a window count (a decimal number)"},
    {__LINE__, "expect visible Tset off", 1, 16, "did you mean \"Test\"?"},
    {__LINE__, "expect visible Test", 1, 20, "missing on or off"},
    {__LINE__, "expect visible Test hidden", 1, 21, "expected on or off"},
    {__LINE__, "expect visible 70000 on", 1, 16, "out of range"},
    {__LINE__, "expect box", 1, 11, "missing the box's text (or `none`) in double quotes"},
    {__LINE__, "expect box Go", 1, 12, "expected the box's text (or `none`) in double quotes"},
    {__LINE__, "expect box \"Go\" caption", 1, 24, "missing the box's caption in double quotes"},
    {__LINE__, "expect box \"Go\" type", 1, 21, "missing the box's type"},
    {__LINE__, "expect box \"Go\" type MB_OKK", 1, 22,
     "unknown message box flag `MB_OKK`; did you mean `MB_OK`?"},
    {__LINE__, "expect box \"Go\" type MB_OK|MB_ICONFOO", 1, 28,
     "unknown message box flag `MB_ICONFOO`"},
    {__LINE__, "expect box \"Go\" type MB_OK|", 1, 28, "unknown message box flag ``"},
    {__LINE__, "expect box \"Go\" type -1", 1, 22, "out of range"},
    {__LINE__, "expect box \"Go\" type 1 type 2", 1, 24, "unexpected `type`"},
    {__LINE__, "expect box none \"Go\"", 1, 17, "unexpected \"Go\""},
    {__LINE__, "open \"x\" *", 1, 11, "missing a repeat count"},
    {__LINE__, "open \"x\" * -1", 1, 12, "a repeat count -1 is out of range (0 to 1000000)"},
    {__LINE__, "open \"x\" * many", 1, 12, "expected a repeat count (a decimal number)"},
    {__LINE__, "open \"x\" * 2000000", 1, 12, "out of range"},
    {__LINE__, "open \"xx\" * 900000", 1, 6, "the text is longer than 1000000 UTF-16 units"},
    {__LINE__, "open \"x\" * 600000 + \"y\" * 600000", 1, 6, "longer than 1000000"},
    {__LINE__, "open \"x\" *3", 1, 10, "unexpected `*3`"},
    {__LINE__, "open \"x\" +", 1, 11, "missing a string in double quotes after `+`"},
    {__LINE__, "open \"x\" + y", 1, 12, "expected a string in double quotes after `+`, found `y`"},
    {__LINE__, "open \"x\" * 2 * 2", 1, 14, "unexpected `*`"},
    {__LINE__, "wait 3 weeks", 1, 6, "needs a unit"},
    {__LINE__, "wait 3s later", 1, 9, "unexpected `later`"},
    {__LINE__, "start\nbt on", 2, 1, "set-up step `bt` after `start`"},
    {__LINE__, "start\nwait 1s\nexe \"a.exe\"", 3, 1, "after `start`"},
    {__LINE__, "open \"x\"\nwifi on", 2, 1, "after the program has started"},
    {__LINE__, "setting X dword 4294967296", 1, 17, "out of range"},
    {__LINE__, "setting X dword -2147483649", 1, 17, "out of range"},
    {__LINE__, "reg HKCU\\x Y dword 99999999999999999999", 1, 20, "a dword (a decimal number)"},
    {__LINE__, "setting X dword", 1, 16, "missing a dword"},
    {__LINE__, "setting X qword 5", 1, 11, "a value type"},
    {__LINE__, "setting X sz plain", 1, 14, "a text in double quotes"},
    {__LINE__, "setting X binary 0g", 1, 19, "hex digits"},
    {__LINE__, "setting X binary 012", 1, 18, "odd count"},
    {__LINE__, "reg HKXX\\x Y dword 1", 1, 5, "HKCU\\ or HKLM\\"},
    {__LINE__, "reg HKCU\\ Y dword 1", 1, 5, "HKCU\\ or HKLM\\"},
    {__LINE__, "reg-delete", 1, 11, "missing a key path"},
    {__LINE__, "screen 0 320", 1, 8, "out of range"},
    {__LINE__, "screen 240", 1, 11, "missing a screen height"},
    {__LINE__, "stack bluez", 1, 7, "a Bluetooth stack"},
    {__LINE__, "wifi maybe", 1, 6, "`on`, `off`, `absent`, `stuck`, `broken`, `d1`, `d2` or `d3`"},
    {__LINE__, "wifi d4", 1, 6, "the WLAN adapter's state"},
    {__LINE__, "fault disk-full", 1, 7, "unknown fault `disk-full`"},
    {__LINE__, "fault notify-icon maybe", 1, 19, "on or off"},
    {__LINE__, "bt-mode -1", 1, 9, "out of range"},
    {__LINE__, "app1-holder", 1, 12, "missing the holder window's caption"},
    {__LINE__, "expect kipo SettingsDlg closed", 1, 25, "`open` or `none`"},
    {__LINE__, "bt", 1, 3, "missing on or off"},
    {__LINE__, "press down", 1, 7, "a key"},
    {__LINE__, "select 1002 -2", 1, 13, "out of range"},
    {__LINE__, "click Maybe", 1, 7, "a button id"},
    {__LINE__, "check 70000 on", 1, 7, "out of range"},
    {__LINE__, "check KeepPDAon on", 1, 7,
     "`KeepPDAon` names no control: expected a control id, a setting's name or a control's "
     "label; did you mean \"KeepPDAOn\"?"},
    {__LINE__, "type Onlist \"x\"", 1, 6, "did you mean \"OnList\"?"},
    {__LINE__, "click \"Find Windw!\"", 1, 7, "did you mean \"Find Window!\"?"},
    {__LINE__, "expect text Frobnicate \"x\"", 1, 13, "`Frobnicate` names no control"},
    {__LINE__, "type KeepPDAOn \"x\"", 1, 6, "`KeepPDAOn` is a check box, not an edit control"},
    {__LINE__, "check OnList on", 1, 7, "`OnList` is an edit control, not a check box"},
    {__LINE__, "select KeepPDAOn 1", 1, 8, "is a check box, not a drop-down list"},
    {__LINE__, "click OnList", 1, 7, "is an edit control, not a push button"},
    {__LINE__, "choose KeepPDAOn", 1, 8, "is a check box, not a radio button"},
    {__LINE__, "choose Active", 1, 8,
     "`Active` names control 1007 of \"Window Found\" and control 1008 of \"Window Found\": "
     "write the id"},
    {__LINE__, "select WFDefaultAction \"Turn of\"", 1, 24,
     "list WFDefaultAction has no item \"Turn of\"; did you mean"},
    {__LINE__, "select WFDefaultAction \"Switch\"", 1, 24,
     "(it has \"Leave\", \"Turn On\", \"Turn Off\")"},
    {__LINE__, "expect selected BTControl \"Bluez\"", 1, 27, "list BTControl has no item"},
    {__LINE__, "select 1000 \"x\"", 1, 13, "no items of its own into list 1000"},
    {__LINE__, "select WFDefaultAction", 1, 23, "missing an item number (-1: none) or its text"},
    {__LINE__, "check", 1, 6, "missing a control id"},
    {__LINE__, "expect icon big", 1, 13, "icon resource number"},
    {__LINE__, "expect window \"x\" gone", 1, 19, "the window state"},
    {__LINE__, "expect calls 3", 1, 15, "missing a call count"},
    {__LINE__, "expect handles -1", 1, 16, "out of range"},
    {__LINE__, "\"open\" x", 1, 1, "begins with a word"},
    {__LINE__, "tap now", 1, 5, "unknown mouse message `now`"},
    {__LINE__, "tap WM_LBUTONUP", 1, 5,
     "unknown mouse message `WM_LBUTONUP`; did you mean `WM_LBUTTONUP`?"},
    {__LINE__, "tap 0x0201", 1, 5, "unknown mouse message `0x0201`"},
    {__LINE__, "tap 0", 1, 5, "out of range"},
    {__LINE__, "tap 70000", 1, 5, "out of range"},
    {__LINE__, "tap icon", 1, 9, "missing an icon id"},
    {__LINE__, "tap icon -1", 1, 10, "out of range"},
    {__LINE__, "tap icon 1 WM_LBUTTONUP", 1, 12, "unexpected `WM_LBUTTONUP`"},
    {__LINE__, "tap WM_LBUTTONUP WM_LBUTTONUP", 1, 18, "unexpected `WM_LBUTTONUP`"},
    {__LINE__, "tap \"x\"", 1, 5, "a mouse message"},
    {__LINE__, "exe \"\"", 1, 1, "cannot be empty"},
    // Not UTF-8: the column of the bad byte, counted in characters.
    {__LINE__, "open \"\xC3\xA9\xFF\"", 1, 8, "not UTF-8"},
    {__LINE__, "open \"\xC0\xAF\"", 1, 7, "not UTF-8"},
    {__LINE__, "open \"\xED\xA0\x80\"", 1, 7, "not UTF-8"},
    {__LINE__, "open \"\xE2\x82\"", 1, 7, "not UTF-8"},
    {__LINE__, "open \"a\x01\"", 1, 8, "control character"},
    {__LINE__, "wa\x7Fit 1s", 1, 3, "control character"},
    // Columns count characters, not bytes.
    {__LINE__, "open \"\xC3\xA9\xC3\xA9\" extra", 1, 11, "unexpected `extra`"},
};

TEST(ScenarioParser, MalformedScenariosNameLineAndColumn) {
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE("table line " + std::to_string(c.line) + ": " + c.source);
        try {
            ParseScenario(c.source, "t");
            ADD_FAILURE() << "parsed without error";
        } catch (const ScenarioError& e) {
            EXPECT_EQ(e.Line(), c.errorLine) << e.what();
            EXPECT_EQ(e.Column(), c.errorColumn) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
        }
    }
}

// The timeline names a control as written, or by the one name its id has in every dialog;
// ids that mean different controls in different dialogs stay numbers.
TEST(ScenarioParser, ControlsKeepTheirNamesForTheTimeline) {
    const struct {
        int line;
        const char* source;
        const char* control;
        const char* item; // "" for steps without one
    } cases[] = {
        {__LINE__, "check KeepPDAOn on", "KeepPDAOn", ""},
        {__LINE__, "check 1012 on", "KeepPDAOn", ""},
        {__LINE__, "type 1000 \"x\"", "OnList", ""},
        {__LINE__, "click 1005", "\"Find Window!\"", ""},
        {__LINE__, "click \"Find Window!\"", "\"Find Window!\"", ""},
        {__LINE__, "select 1006 1", "1006", "\"Microsoft\""}, // BTControl, or Window Found's field
        {__LINE__, "select BTControl 1", "BTControl", "\"Microsoft\""},
        {__LINE__, "select 1008 -1", "1008", "none"},
        {__LINE__, "select WFDefaultAction 7", "WFDefaultAction", "item 7"},
        {__LINE__, "choose 1010", "Running", ""},
        {__LINE__, "choose 4242", "4242", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line) + ": " + c.source);
        try {
            Scenario s = ParseScenario(c.source, "t");
            ASSERT_EQ(s.steps.size(), 1u);
            EXPECT_EQ(ControlLabel(s.steps[0]), c.control);
            if (*c.item != 0) {
                EXPECT_EQ(ItemLabel(s.steps[0]), c.item);
            }
        } catch (const ScenarioError& e) {
            ADD_FAILURE() << e.Describe("t");
        }
    }
}

TEST(ScenarioParser, ErrorDescriptionNamesFileLineAndColumn) {
    try {
        ParseScenario("wait 1s\nwait 2q\n", "day.kipo");
        FAIL() << "parsed";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.Describe("day.kipo").rfind("day.kipo:2:6: bad duration", 0), 0u)
            << e.Describe("day.kipo");
    }
}

TEST(ScenarioParser, StartPointAndSetUpPlacement) {
    struct Case {
        int line;
        const char* source;
        bool explicitStart;
        std::size_t implicitIndex;
    };
    const Case cases[] = {
        // Without start: right after the leading set-up (reg and setting count as set-up).
        {__LINE__, "bt on\nsetting A dword 1\nwait 1s\nsetting B dword 2", false, 2},
        {__LINE__, "wait 1s", false, 0},
        {__LINE__, "bt on\nwifi stuck", false, 2},
        {__LINE__, "", false, 0},
        // With start: set-up may follow timed steps as long as it precedes the start.
        {__LINE__, "open \"x\"\nbt on\nwait 1s\nstart\nsetting A dword 1\nstart", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        Scenario s = ParseScenario(c.source, "t");
        EXPECT_EQ(s.explicitStart, c.explicitStart);
        if (!c.explicitStart) {
            EXPECT_EQ(s.implicitStartIndex, c.implicitIndex);
        }
    }
}

TEST(ScenarioParser, LinesAndSourcesAreKept) {
    Scenario s =
        ParseScenario("\xEF\xBB\xBF# header\r\n\r\nopen \"Inbox\"  # mail\r\n  wait 3s\r\n", "t");
    ASSERT_EQ(s.steps.size(), 2u);
    EXPECT_EQ(s.steps[0].line, 3);
    EXPECT_EQ(s.steps[0].source, "open \"Inbox\"");
    EXPECT_EQ(s.steps[1].line, 4);
    EXPECT_EQ(s.steps[1].column, 3);
}

TEST(ScenarioParser, RegistryDataBytes) {
    Scenario s =
        ParseScenario("setting A dword 258\nsetting B sz \"h\\u{e9}\"\nsetting C binary 0a0B", "t");
    ASSERT_EQ(s.steps.size(), 3u);
    EXPECT_EQ(s.steps[0].value.RegType(), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Hex(s.steps[0].value.Bytes()), "02010000");
    EXPECT_EQ(s.steps[1].value.RegType(), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Hex(s.steps[1].value.Bytes()), "6800e9000000"); // with its terminating NUL
    EXPECT_EQ(s.steps[2].value.RegType(), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(Hex(s.steps[2].value.Bytes()), "0a0b");
}

// Random bytes and random mixes of the language's own pieces: the parser either accepts
// them or throws ScenarioError with a position inside the text; nothing else.
TEST(ScenarioParser, GarbageNeverCrashes) {
    const char* pieces[] = {"wait",   " ",     "\"", "\\",    "u{",   "}",      "1",
                            "-",      "s",     "ms", "ticks", "open", "expect", "reg",
                            "HKCU\\", "dword", "#",  "\n",    "\t",   "\xC3",   "\xA9",
                            "\xFF",   "start", "bt", "on",    "sz",   "binary", "0f"};
    std::mt19937 rng(12345);
    int accepted = 0;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        int n = static_cast<int>(rng() % 40);
        for (int i = 0; i < n; ++i) {
            if (rng() % 4 == 0)
                text.push_back(static_cast<char>(rng() % 256));
            else
                text += pieces[rng() % std::size(pieces)];
        }
        int lines = 1;
        for (char ch : text)
            lines += ch == '\n';
        try {
            ParseScenario(text, "t");
            ++accepted;
        } catch (const ScenarioError& e) {
            ++refused;
            EXPECT_GE(e.Line(), 1);
            EXPECT_LE(e.Line(), lines);
            EXPECT_GE(e.Column(), 1);
        }
    }
    // Both outcomes occur, so the mix exercises the accepting and the refusing paths.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace

TEST(Suggest, NamesOnlyLikelyTypos) {
    const std::vector<std::string> names = {"wait", "open", "open-behind", "expect", "type"};
    const struct {
        int line;
        const char* word;
        const char* suggestion;
    } cases[] = {
        {__LINE__, "wiat", "wait"}, // two neighbours swapped
        {__LINE__, "WAIT", "wait"}, // letter case
        {__LINE__, "wai", "wait"},  // one letter missing
        {__LINE__, "opn-behind", "open-behind"},
        {__LINE__, "open-behnd", "open-behind"},
        {__LINE__, "tyep", "type"},
        {__LINE__, "frobnicate", ""}, // nothing near
        {__LINE__, "x", ""},          // too short to guess from
        {__LINE__, "", ""},
        {__LINE__, "waitwaitwait", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        EXPECT_EQ(Suggest(c.word, names), c.suggestion);
    }
    // A far word's error names no verb.
    try {
        ParseScenario("frobnicate", "t");
        ADD_FAILURE() << "parsed without error";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(std::string(e.what()).find("did you mean"), std::string::npos) << e.what();
    }
}
