// kipo-sim end to end: the real program on a fresh simulated device for every run, driven by
// small scenarios; exit status, timeline, summary and the files it reads and writes.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/device/kipo_sim/sim_run.h"

using namespace kiposim;

namespace {

using namespace kiposim::simrun;

TEST(KipoSimRun, TickWaitEndsJustAfterTheNthRunOfTheCheckTimer) {
    // Start-up sleeps 500 ms, then the timer runs every 1500 ms: 2.0, 3.5, 5.0 s. Every tick
    // asks for the foreground window once.
    SimRun run = RunText("wait 3 ticks\nexpect calls GetForegroundWindow 3\n");
    EXPECT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_TRUE(Has(run.out, "0:05.000  holds: line 2")) << run.out;
}

TEST(KipoSimRun, AStartLaterShiftsTheTicks) {
    SimRun run = RunText("wait 2s\nstart\nwait 1 tick\nexpect calls GetForegroundWindow 1\n");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "0:02.000  Kipo.exe starts")) << run.out;
    EXPECT_TRUE(Has(run.out, "0:04.000  holds: line 4")) << run.out;
}

TEST(KipoSimRun, AnHourAtTheDefaultInterval) {
    SimRun run = RunText("wait 1h\nexpect running\n", {"--quiet"});
    EXPECT_EQ(run.code, 0) << run.out;
    // Ticks at 2.0 s + k * 1.5 s up to 3600 s: k = 0 .. 2398.
    EXPECT_TRUE(Has(run.out, "Summary: 1:00:00.000 simulated, 2399 runs of the check timer"))
        << run.out;
}

TEST(KipoSimRun, ExitStatusAndWhatIsReported) {
    struct Case {
        int line;
        const char* scenario;
        int code;
        std::vector<const char*> present;
        std::vector<const char*> absent;
    };
    const Case cases[] = {
        {__LINE__, "wait 1s\nexpect running\n", 0, {"Checks     1 held, 0 failed"}, {"FAILED"}},
        // A failed check names its line and what was found; later checks still run.
        {__LINE__,
         "wait 1 tick\nexpect bt on\nexpect running\n",
         1,
         {"FAILED line 2: expect bt on: Bluetooth is off", "Checks     1 held, 1 failed"},
         {}},
        // A step that cannot apply stops the run: the check after it is never made.
        {__LINE__,
         "wait 1s\nfront \"Notes\"\nexpect running\n",
         1,
         {"FAILED line 2: front \"Notes\": cannot apply: no window is captioned \"Notes\"",
          "Checks     0 held, 0 failed; a step could not apply"},
         {"holds: line 3"}},
        {__LINE__,
         "wait 1s\nexpect foreground \"Desktop\"\nexpect foreground none\n",
         1,
         {"FAILED line 3: expect foreground none: in front: \"Desktop\""},
         {}},
        {__LINE__,
         "wait 1s\nexpect setting OnList absent\nexpect setting OnList sz \"\"\n",
         1,
         {"holds: line 2", "FAILED line 3: expect setting OnList sz \"\": the value is absent"},
         {}},
        {__LINE__,
         "wait 1s\nexpect key HKCU\\software\\Kipo\\Kipo\\Settings exists\n",
         0,
         {"holds: line 2"},
         {}},
        {__LINE__, "wait 1s\nexpect handles 1\n", 1, {"expect handles 1: 0 open"}, {}},
        {__LINE__, "wait 1s\nexpect calls SetTimer 2\n", 1, {"1 call so far"}, {}},
        {__LINE__, "wait 1s\nexpect interval 1000\n", 1, {"the period is 1500 ms"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        SimRun run = RunText(c.scenario);
        EXPECT_EQ(run.code, c.code) << run.out << run.err;
        for (const char* p : c.present)
            EXPECT_TRUE(Has(run.out, p)) << "missing: " << p << "\n" << run.out;
        for (const char* a : c.absent)
            EXPECT_FALSE(Has(run.out, a)) << "unexpected: " << a << "\n" << run.out;
    }
}

TEST(KipoSimRun, TimelineNamesTheRuleThatSwitched) {
    SimRun run = RunText("setting OnList sz \"#bMail;#bPhone\"\n"
                         "setting OffList sz \"#bDesktop\"\n"
                         "setting WFDefaultAction dword 1\n"
                         "open \"Phone\"\n"
                         "wait 1 tick\n"
                         "today\n"
                         "wait 1 tick\n"
                         "user-bt on\n"
                         "wait 1s\n");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "0:02.000  Bluetooth on  by Kipo, on-while-active list entry 2 "
                             "\"phone\""))
        << run.out;
    EXPECT_TRUE(Has(run.out, "0:02.000  foreground: \"Desktop\"")) << run.out;
    EXPECT_TRUE(Has(run.out, "0:03.500  Bluetooth off  by Kipo, off list entry 1 \"desktop\""))
        << run.out;
    EXPECT_TRUE(Has(run.out, "0:03.500  WiFi on  by Kipo, default action (Turn On)")) << run.out;
    EXPECT_TRUE(Has(run.out, "0:03.500  Bluetooth on  by hand")) << run.out;
    EXPECT_TRUE(Has(run.out, "Bluetooth  3 switches (2 by Kipo, 1 by hand)")) << run.out;
}

TEST(KipoSimRun, SummaryGivesTimeOnAndShare) {
    // Bluetooth comes on at the first tick (2.0 s) and stays on to the end at 20 s.
    SimRun run = RunText("setting DefaultAction dword 1\nwait 20s\n", {"--quiet"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "Bluetooth  1 switch, on for 0:18.000 (90.0% of the run)")) << run.out;
    EXPECT_TRUE(Has(run.out, "WiFi       0 switches, on for 0:00.000 (0.0% of the run)"))
        << run.out;
    // Quiet: no timeline lines.
    EXPECT_FALSE(Has(run.out, "0:02.000  ")) << run.out;
}

TEST(KipoSimRun, ExplainListsTheRulesTried) {
    SimRun run = RunText("setting OnList sz \"#wMail;#wInbox\"\nopen \"Inbox\"\nwait 1 tick\n",
                         {"--explain"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "tick: caption \"inbox\" is new")) << run.out;
    EXPECT_TRUE(Has(run.out, "WiFi: on-while-active list entry 1 \"mail\" no")) << run.out;
    EXPECT_TRUE(Has(run.out, "WiFi: on-while-active list entry 2 \"inbox\" matches")) << run.out;
    EXPECT_TRUE(Has(run.out, "Bluetooth: no rule decided; default action Leave")) << run.out;
    run = RunText("setting OnList sz \"#bPhone\"\nsetting WFDefaultAction dword 7\n"
                  "open \"Phone\"\nwait 1 tick\nopen \"Notes\"\nwait 1 tick\n",
                  {"--explain"});
    EXPECT_TRUE(Has(run.out, "WiFi: not evaluated: the tick ended early")) << run.out;
    EXPECT_TRUE(Has(run.out, "WiFi: no rule decided; default action 7, which leaves it"))
        << run.out;
}

TEST(KipoSimRun, TraceShowsEveryPlatformCallWithItsProgram) {
    SimRun run = RunText("wait 1 tick\n", {"--trace"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "0:00.500      [Kipo.exe] Sleep(500)")) << run.out;
    EXPECT_TRUE(Has(run.out, "0:02.000      [Kipo.exe] GetForegroundWindow()")) << run.out;
}

TEST(KipoSimRun, UnreadableAndMalformedInputGiveTwo) {
    SimRun run = RunSim({TempPath("no_such_scenario.kipo")});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(Has(run.err, "cannot read")) << run.err;
    run = RunSim({::testing::TempDir()});
    EXPECT_EQ(run.code, 2);
    const std::string file = TempPath("bad.kipo");
    WriteFile(file, "wait 1s\nwait 2x\n");
    run = RunSim({file});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(Has(run.err, file + ":2:6: bad duration `2x`")) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out; // nothing ran
    run = RunSim({"--bogus"});
    EXPECT_EQ(run.code, 2);
}

TEST(KipoSimRun, SvgFileIsWritten) {
    const std::string svg = TempPath("kipo_chart.svg");
    std::remove(svg.c_str());
    SimRun run = RunText("setting DefaultAction dword 1\nopen \"Inbox\"\nwait 10s\n",
                         {"--quiet", "--svg", svg});
    EXPECT_EQ(run.code, 0) << run.out;
    const std::string text = ReadFile(svg);
    EXPECT_EQ(text.rfind("<svg ", 0), 0u);
    EXPECT_TRUE(Has(text, ">Inbox</text>")) << text;
    EXPECT_TRUE(Has(text, "Bluetooth on 0:02.000 - 0:10.000")) << text;
}

TEST(KipoSimRun, SetUpStepsShapeTheDeviceBeforeTheProgram) {
    SimRun run = RunText("bt on\nwifi on\nscreen 480 640\nexpect bt on\nexpect wifi on\n"
                         "wait 1s\nexpect bt on\n");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "480x640 screen, Widcomm Bluetooth stack, Bluetooth on, WiFi on"))
        << run.out;
}

TEST(KipoSimRun, ChecksDoNotCountAsCallsOfThePrograms) {
    SimRun run = RunText("wait 2 ticks\nexpect foreground \"Desktop\"\nexpect bt off\n"
                         "expect wifi off\nexpect window \"Desktop\" visible\n"
                         "expect interval 1500\nexpect handles 0\n"
                         "expect calls GetForegroundWindow 2\nexpect calls GetDevicePower 0\n");
    EXPECT_EQ(run.code, 0) << run.out;
}

TEST(KipoSimRun, TheBuiltInScenarioChecksItself) {
    SimRun run = RunSim({"--quiet"});
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(Has(run.out, "failed")) << run.out;
    EXPECT_TRUE(Has(run.out, ", 0 failed")) << run.out;
    SimRun text = RunSim({"--show-builtin"});
    EXPECT_EQ(text.code, 0);
    EXPECT_TRUE(Has(text.out, "open \"Internet Explorer\"")) << text.out;
}

} // namespace

namespace {

TEST(KipoSimRun, SuspendsAreCountedFromTheUsersLastTouch) {
    struct Case {
        int line;
        const char* scenario;
        const char* summary;
    };
    const Case cases[] = {
        // Nobody touches the device: it would suspend once, 3 minutes after boot.
        {__LINE__, "wait 10m\n", "the device would have suspended 1 time"},
        // The user opens a program every 2 minutes: never idle for 3.
        {__LINE__, "wait 2m\nopen \"A\"\nwait 2m\nopen \"B\"\nwait 2m\n",
         "the device would have suspended 0 times"},
        // The keep-alive resets the idle timer every 33 s while WiFi is known on.
        {__LINE__, "setting KeepPDAOn dword 1\nsetting WFDefaultAction dword 1\nwait 10m\n",
         "the device would have suspended 0 times"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        SimRun run = RunText(c.scenario, {"--quiet"});
        EXPECT_EQ(run.code, 0) << run.out;
        EXPECT_TRUE(Has(run.out, c.summary)) << run.out;
    }
}

} // namespace

namespace {

// Captions of any length and content, and registry values of any type or size where the
// program expects a text or a number: the run completes and reports soundly.
TEST(KipoSimRun, HostileCaptionsAndValues) {
    const std::string longCaption(70000, 'w');
    struct Case {
        int line;
        std::string scenario;
        int code;
        const char* present;
    };
    const Case cases[] = {
        {__LINE__,
         "setting OnList sz \"#b" + longCaption + "\"\nopen \"" + longCaption +
             "\"\nwait 1 tick\nexpect bt on\nexpect foreground \"" + longCaption + "\"\n",
         0, "(70000 characters)"},
        // The device keeps a caption up to a NUL, as Win32 captions end there; a lone
        // surrogate is shown as U+FFFD.
        {__LINE__,
         "setting OnList sz \"#wline\\nbreak\"\nopen \"line\\nbreak \\u{D800}\\t\\u{0}x\"\n"
         "wait 1 tick\nexpect wifi on\n",
         0, "foreground: \"line\\nbreak \xEF\xBF\xBD\\t\"\n"},
        {__LINE__,
         "setting OnList binary 00\nsetting OffList dword 7\nsetting DefaultAction sz \"x\"\n"
         "setting KeepPDAOn binary 0102030405\nwait 3 ticks\nexpect running\n",
         0, "holds: line 6"},
        {__LINE__, "reg-delete HKCU\\software\\Kipo\nwait 2 ticks\nexpect running\n", 0,
         "holds: line 3"},
        {__LINE__,
         "wait 1s\nreg-delete HKCU\\software\\Kipo\nwait 2 ticks\nexpect handles 0\n"
         "expect key HKCU\\software\\Kipo absent\n",
         0, "holds: line 5"},
        {__LINE__,
         "open \"\"\nwait 1 tick\nexpect foreground \"\"\nno-front\nwait 1 tick\n"
         "expect foreground none\n",
         0, "no window in the foreground"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        SimRun run = RunText(c.scenario);
        EXPECT_EQ(run.code, c.code) << run.out.substr(0, 4000) << run.err;
        EXPECT_TRUE(Has(run.out, c.present)) << run.out.substr(0, 4000);
    }
}

} // namespace
