// Rule lists: how one list text becomes its Bluetooth and WiFi lists, and LoadSettings
// building all six from the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_frame.h"
#include "platform/platform.h"
#include "settings/rule_lists.h"
#include "settings/settings_store.h"
#include "tests/support/fresh_device.h"

namespace {

using Entries = std::vector<WString>;

std::string Show(const RuleList& list) {
    std::string text;
    for (const WString& entry : list)
        text += "[" + ToUtf8(entry) + "]";
    return text.empty() ? "(empty)" : text;
}

struct ListRow {
    int line;
    WString text;
    LONG defControl;
    Entries bluetooth;
    Entries wifi;
};

void CheckRows(const std::vector<ListRow>& rows) {
    for (const ListRow& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "table line " << row.line << ": \"" << ToUtf8(row.text) << "\"");
        // Lists that already hold entries: building replaces them.
        RuleList bluetooth = {TEXT("stale")};
        RuleList wifi = {TEXT("stale"), TEXT("stale")};
        BuildRuleLists(row.text, row.defControl, bluetooth, wifi);
        EXPECT_EQ(Show(bluetooth), Show(row.bluetooth));
        EXPECT_EQ(Show(wifi), Show(row.wifi));
    }
}

// List building touches no registry; the fresh device is there for the text calls it makes.
class RuleLists : public ::testing::Test {
  protected:
    FreshDevice fresh;
};

TEST_F(RuleLists, WorkedExamples) {
    CheckRows({
        {__LINE__,
         TEXT("Desktop;#WInbox;#bCalendar"),
         0,
         {TEXT("desktop"), TEXT("calendar")},
         {TEXT("inbox")}},
        {__LINE__, TEXT("HR: ;"), 0, {TEXT("hr: ")}, {}},
        {__LINE__, TEXT("Internet explorer;"), 0, {TEXT("internet explorer")}, {}},
        {__LINE__, TEXT("Inbox; Calendar"), 0, {TEXT("inbox"), TEXT(" calendar")}, {}},
        {__LINE__, TEXT(" #wInbox"), 0, {}, {TEXT("inbox")}},
        {__LINE__, TEXT("Inbox ; #w Notes"), 0, {TEXT("inbox "), TEXT(" #w notes")}, {}},
        {__LINE__, TEXT("#b;#w;;"), 0, {}, {}},
        {__LINE__, TEXT("#x;#"), 0, {TEXT("#x"), TEXT("#")}, {}},
    });
}

TEST_F(RuleLists, EmptyAndDegenerateTexts) {
    CheckRows({
        {__LINE__, TEXT(""), 0, {}, {}},
        {__LINE__, TEXT(" \t\r\n\v\f"), 0, {}, {}},
        {__LINE__, TEXT(";"), 0, {}, {}},
        {__LINE__, TEXT(";;;;"), 1, {}, {}},
        {__LINE__, TEXT("#B"), 0, {}, {}},
        {__LINE__, TEXT("#w;"), 0, {}, {}},
        {__LINE__, TEXT("#b;"), 1, {}, {}},
        {__LINE__, TEXT("#"), 0, {TEXT("#")}, {}},
        {__LINE__, TEXT("##"), 0, {TEXT("##")}, {}},
        {__LINE__, TEXT("# b"), 0, {TEXT("# b")}, {}},
    });
}

TEST_F(RuleLists, EntriesKeepEverythingButTheOuterWhiteSpace) {
    CheckRows({
        // No ";" at all: one entry, the whole trimmed text.
        {__LINE__, TEXT("  Pocket Word  "), 0, {TEXT("pocket word")}, {}},
        {__LINE__, TEXT("a ; b"), 0, {TEXT("a "), TEXT(" b")}, {}},
        {__LINE__, TEXT("a;  ;b"), 0, {TEXT("a"), TEXT("  "), TEXT("b")}, {}},
        {__LINE__, TEXT("a;\t;b\n"), 0, {TEXT("a"), TEXT("\t"), TEXT("b")}, {}},
        // White space after a prefix belongs to the entry.
        {__LINE__, TEXT("#w Notes"), 0, {}, {TEXT(" notes")}},
        // A trailing ";" after trimming: no empty entry at the end.
        {__LINE__, TEXT("a;b;  "), 0, {TEXT("a"), TEXT("b")}, {}},
    });
}

TEST_F(RuleLists, PrefixesAndRouting) {
    CheckRows({
        // Only one prefix is removed.
        {__LINE__, TEXT("#W#bX"), 0, {}, {TEXT("#bx")}},
        {__LINE__, TEXT("#bX;#wX"), 0, {TEXT("x")}, {TEXT("x")}},
        {__LINE__, TEXT("a;a;A"), 0, {TEXT("a"), TEXT("a"), TEXT("a")}, {}},
        // A prefix counts only at the start of an entry.
        {__LINE__, TEXT("x#wy"), 0, {TEXT("x#wy")}, {}},
        // DefControl routes the entries without a prefix: only 1 means WiFi.
        {__LINE__, TEXT("a;#bb;#wc"), 1, {TEXT("b")}, {TEXT("a"), TEXT("c")}},
        {__LINE__, TEXT("a;#bb;#wc"), 2, {TEXT("a"), TEXT("b")}, {TEXT("c")}},
        {__LINE__, TEXT("a;#bb;#wc"), -1, {TEXT("a"), TEXT("b")}, {TEXT("c")}},
        {__LINE__, TEXT("a"), 0x7FFFFFFF, {TEXT("a")}, {}},
    });
}

TEST_F(RuleLists, LetterCaseDoesNotMatter) {
    const WString mixed = TEXT("Desktop;#WInBox;#bCALENDAR;#Bnotes;Internet Explorer");
    RuleList btMixed, wifiMixed, btLower, wifiLower;
    BuildRuleLists(mixed, 0, btMixed, wifiMixed);
    BuildRuleLists(TEXT("desktop;#winbox;#bcalendar;#bnotes;internet explorer"), 0, btLower,
                   wifiLower);
    EXPECT_EQ(btMixed, btLower);
    EXPECT_EQ(wifiMixed, wifiLower);
    EXPECT_EQ(Show(btMixed), "[desktop][calendar][notes][internet explorer]");
    // Beyond ASCII, the same mapping as CharLowerW.
    RuleList bt, wifi;
    const WString cyrillic = TEXT("\u041F\u043E\u0447\u0442\u0430;#W\u00C9T\u00C9");
    BuildRuleLists(cyrillic, 0, bt, wifi);
    ASSERT_EQ(bt.size(), 1u);
    ASSERT_EQ(wifi.size(), 1u);
    EXPECT_TRUE(bt[0] == WString(TEXT("\u043F\u043E\u0447\u0442\u0430")));
    EXPECT_TRUE(wifi[0] == WString(TEXT("\u00E9t\u00E9")));
}

TEST_F(RuleLists, HundredThousandEntries) {
    WString text;
    for (int i = 0; i < 100000; ++i) {
        const std::string entry = (i % 3 == 0 ? "#wEntry" : "Entry") + std::to_string(i) + ";";
        text += FromUtf8(entry);
    }
    RuleList bt, wifi;
    BuildRuleLists(text, 0, bt, wifi);
    ASSERT_EQ(bt.size() + wifi.size(), 100000u);
    EXPECT_EQ(wifi.size(), 33334u);
    EXPECT_TRUE(wifi.front() == WString(TEXT("entry0")));
    EXPECT_TRUE(bt.back() == WString(TEXT("entry99998")));
}

// The reader hears every piece between separators, located in the text as the user wrote it
// (letter case and outer white space included), with the list it went to and its entry.
class PieceLog : public RuleListReader {
  public:
    explicit PieceLog(const WString& text) : text_(text) {}
    void OnPiece(const RuleListPiece& p) override {
        std::string line = "[" + ToUtf8(text_.substr(p.offset, p.length)) + "]";
        line += p.wifi ? " wifi" : " bt";
        if (p.prefixed)
            line += " prefixed";
        line += p.entry != nullptr ? " [" + ToUtf8(*p.entry) + "]" : " nothing";
        pieces.push_back(line);
    }
    std::vector<std::string> pieces;

  private:
    const WString& text_;
};

TEST_F(RuleLists, ReaderHearsEveryPieceWhereItIsWritten) {
    struct Row {
        int line;
        WString text;
        LONG defControl;
        std::vector<std::string> pieces;
    };
    const std::vector<Row> rows = {
        {__LINE__,
         TEXT("  Desktop;#WInbox; Calendar  "),
         0,
         {"[Desktop] bt [desktop]", "[#WInbox] wifi prefixed [inbox]",
          "[ Calendar] bt [ calendar]"}},
        {__LINE__, TEXT("HR: ;"), 1, {"[HR: ] wifi [hr: ]"}},
        {__LINE__,
         TEXT("#b;;# ;#x"),
         0,
         {"[#b] bt prefixed nothing", "[] bt nothing", "[# ] bt [# ]", "[#x] bt [#x]"}},
        {__LINE__, TEXT(" \t "), 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "table line " << row.line);
        RuleList bt, wifi;
        PieceLog log(row.text);
        BuildRuleLists(row.text, row.defControl, bt, wifi, &log);
        EXPECT_EQ(log.pieces, row.pieces);
        // Hearing changes nothing: the same lists as without a reader.
        RuleList bt2, wifi2;
        BuildRuleLists(row.text, row.defControl, bt2, wifi2);
        EXPECT_EQ(Show(bt), Show(bt2));
        EXPECT_EQ(Show(wifi), Show(wifi2));
    }
}

// LoadSettings reads the registry through the store and builds all six lists.
class LoadSettings : public ::testing::Test {
  protected:
    void SetUp() override { store.SetRegistryKey(TEXT("Kipo")); }
    void TearDown() override { EXPECT_EQ(fresh.OpenHandles(), 0) << "a handle was left open"; }

    FreshDevice fresh;
    CSettingsStore store;
};

TEST_F(LoadSettings, DefaultsBuildTheDefaultLists) {
    CMainFrame frame(store);
    frame.m_bAutoDelete = FALSE;
    frame.DefaultAction = 5;
    frame.KeepPDAOn = 9;
    frame.LoadSettings();
    EXPECT_EQ(frame.Busy, 0);
    EXPECT_EQ(frame.DefaultAction, 0);
    EXPECT_EQ(frame.KeepPDAOn, 0);
    EXPECT_EQ(Show(frame.BtOffList), "[hr: ]");
    EXPECT_EQ(Show(frame.BtOnRunningList), "[internet explorer]");
    EXPECT_EQ(Show(frame.BtOnActiveList), "(empty)");
    EXPECT_EQ(Show(frame.WifiOnActiveList), "(empty)");
    EXPECT_EQ(Show(frame.WifiOnRunningList), "(empty)");
    EXPECT_EQ(Show(frame.WifiOffList), "(empty)");
}

TEST_F(LoadSettings, StoredValuesReachEveryMemberAndList) {
    const WCHAR* s = TEXT("Settings");
    store.WriteProfileInt(s, TEXT("DefaultAction"), 2);
    store.WriteProfileInt(s, TEXT("WFDefaultAction"), 1);
    store.WriteProfileString(s, TEXT("OnList"), TEXT("Inbox;#bHeadset"));
    store.WriteProfileString(s, TEXT("OffList"), TEXT("Desktop;#wGames"));
    store.WriteProfileString(s, TEXT("OnRunList"), TEXT("Pocket MSN;#BBT Manager"));
    store.WriteProfileInt(s, TEXT("BTControl"), 7); // out of range: kept as read
    store.WriteProfileInt(s, TEXT("DefControl"), 1);
    store.WriteProfileInt(s, TEXT("OffTakesPrecedence"), -3);
    store.WriteProfileInt(s, TEXT("KeepPDAOn"), 1);
    CMainFrame frame(store);
    frame.m_bAutoDelete = FALSE;
    frame.LoadSettings();
    EXPECT_EQ(frame.DefaultAction, 2);
    EXPECT_EQ(frame.WFDefaultAction, 1);
    EXPECT_EQ(frame.BTControl, 7);
    EXPECT_EQ(frame.DefControl, 1);
    EXPECT_EQ(frame.OffTakesPrecedence, -3);
    EXPECT_EQ(frame.KeepPDAOn, 1);
    // DefControl 1, just read, sends the entries without a prefix to WiFi.
    EXPECT_EQ(Show(frame.BtOnActiveList), "[headset]");
    EXPECT_EQ(Show(frame.WifiOnActiveList), "[inbox]");
    EXPECT_EQ(Show(frame.BtOffList), "(empty)");
    EXPECT_EQ(Show(frame.WifiOffList), "[desktop][games]");
    EXPECT_EQ(Show(frame.BtOnRunningList), "[bt manager]");
    EXPECT_EQ(Show(frame.WifiOnRunningList), "[pocket msn]");
    EXPECT_EQ(frame.Busy, 0);
}

TEST_F(LoadSettings, EveryLoadRebuildsFromNothing) {
    const WCHAR* s = TEXT("Settings");
    store.WriteProfileString(s, TEXT("OnList"), TEXT("a;b;#wc"));
    store.WriteProfileString(s, TEXT("OffList"), TEXT(""));
    CMainFrame frame(store);
    frame.m_bAutoDelete = FALSE;
    frame.LoadSettings();
    const RuleList firstBt = frame.BtOnActiveList;
    frame.LoadSettings();
    EXPECT_EQ(frame.BtOnActiveList, firstBt);
    EXPECT_EQ(Show(frame.BtOnActiveList), "[a][b]");
    EXPECT_EQ(Show(frame.WifiOnActiveList), "[c]");
    // A saved empty OffList stays empty: the default applies only to a missing value.
    EXPECT_EQ(Show(frame.BtOffList), "(empty)");

    store.WriteProfileString(s, TEXT("OnList"), TEXT("b"));
    frame.LoadSettings();
    EXPECT_EQ(Show(frame.BtOnActiveList), "[b]");
    EXPECT_EQ(Show(frame.WifiOnActiveList), "(empty)");
    // Nothing else of the frame is touched.
    frame.BtState = 1;
    frame.WifiState = 0;
    frame.LastCaption = TEXT("inbox");
    frame.Busy = 1;
    frame.LoadSettings();
    EXPECT_EQ(frame.BtState, 1);
    EXPECT_EQ(frame.WifiState, 0);
    EXPECT_TRUE(frame.LastCaption == WString(TEXT("inbox")));
    EXPECT_EQ(frame.Busy, 0);
}

} // namespace
