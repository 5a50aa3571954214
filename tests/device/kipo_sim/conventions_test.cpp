// kipo-sim as command-line tools behave: --version, "did you mean", `-` for standard output,
// outputs checked before the run, unreadable files saying why, colour and progress only on a
// terminal, and times past an hour and a day.
#include <gtest/gtest.h>

#include <regex>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/device/kipo_sim/sim_run.h"
#include "tools/kipo-sim/console.h"

using namespace kiposim;
using namespace kiposim::simrun;

namespace {

const char* const kFailing = "wait 1 tick\nexpect running\nexpect bt on\n";

TEST(KipoSimConventions, VersionIsOneLineOnStandardOutput) {
    SimRun run = RunSim({"--version"});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("kipo-sim [0-9]+\\.[0-9]+(\\.[0-9]+)*\n")))
        << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(KipoSimConventions, UnknownOptionsSuggestTheNearestName) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--quite"}, "kipo-sim: unknown option --quite (did you mean --quiet?)\n"},
        {{"--explian", "day.kipo"},
         "kipo-sim: unknown option --explian (did you mean --explain?)\n"},
        {{"--svgg=day.svg"}, "kipo-sim: unknown option --svgg=day.svg (did you mean --svg?)\n"},
        {{"--verison"}, "kipo-sim: unknown option --verison (did you mean --version?)\n"},
        {{"--colour"}, "kipo-sim: unknown option --colour (kipo-sim --help lists them)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        SimRun run = RunSim(c.args);
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
}

TEST(KipoSimConventions, DashSendsTheChartOrRegistryToStandardOutputAndTheReportToError) {
    SimRun run =
        RunText("setting OnList sz \"#bInbox\"\nopen \"Inbox\"\nwait 2 ticks\n", {"--svg", "-"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.rfind("<svg ", 0), 0u) << run.out;
    EXPECT_EQ(run.out.substr(run.out.size() - 7), "</svg>\n");
    EXPECT_TRUE(Has(run.err, "Bluetooth on  by Kipo")) << run.err;
    EXPECT_TRUE(Has(run.err, "Summary:")) << run.err;

    run = RunText("reg HKLM\\SOFTWARE\\Test Marker dword 7\nwait 1s\n",
                  {"--quiet", "--save-registry-utf8", "-"}); // UTF-8 to read it here
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "\"Marker\"=dword:00000007")) << run.out;
    EXPECT_FALSE(Has(run.out, "Summary")) << run.out;
    EXPECT_TRUE(Has(run.err, "Summary:")) << run.err;

    // One standard output cannot carry two files.
    run = RunText("wait 1s\n", {"--svg", "-", "--save-registry", "-"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err,
              "kipo-sim: --svg and --save-registry cannot both write to standard output\n");
    EXPECT_EQ(run.out, "");
}

TEST(KipoSimConventions, OutputsAreCheckedBeforeTheRun) {
    const std::string folder = ::testing::TempDir();
    const std::string missing = TempPath("kipo_no_such_folder");
    const std::string file = TempPath("kipo_plain_file");
    WriteFile(file, "x");
    struct Case {
        const char* option;
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {"--svg", missing + "/day.svg",
         "cannot write " + missing + "/day.svg: no such folder " + missing},
        {"--save-registry", missing + "/out.reg",
         "cannot write " + missing + "/out.reg: no such folder " + missing},
        {"--svg", folder, "cannot write " + folder + ": is a folder"},
        {"--save-registry", file + "/out.reg",
         "cannot write " + file + "/out.reg: a part of the path is not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        // A simulated year: had it run first, this test would take seconds.
        SimRun run = RunText("wait 8760h\nexpect running\n", {c.option, c.path});
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, "kipo-sim: " + c.message + "\n");
        EXPECT_EQ(run.out, ""); // nothing ran
    }
}

TEST(KipoSimConventions, AScenarioThatCannotBeReadSaysWhy) {
    const std::string missing = TempPath("kipo_no_such.kipo");
    const std::string folder = TempPath("kipo_a_folder.kipo");
    ::mkdir(folder.c_str(), 0755);
    struct Case {
        std::string path;
        const char* why;
    };
    const Case cases[] = {
        {missing, "no such file"},
        {folder, "is a folder"},
        {TempPath("kipo_no_such_folder/day.kipo"), "no such file"},
    };
    for (const Case& c : cases) {
        SimRun run = RunSim({c.path});
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, "kipo-sim: cannot read " + c.path + ": " + c.why + "\n");
        EXPECT_EQ(run.out, "");
    }
}

TEST(KipoSimConventions, AScenarioWithoutReadPermissionSaysSo) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    const std::string file = TempPath("kipo_unreadable.kipo");
    WriteFile(file, "wait 1s\n");
    ::chmod(file.c_str(), 0);
    SimRun run = RunSim({file});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "kipo-sim: cannot read " + file + ": permission denied\n");
    ::chmod(file.c_str(), 0644);
}

TEST(KipoSimConventions, ColourOnlyOnATerminalWithoutNoColor) {
    const std::string red = "\033[1;31mFAILED\033[0m", green = "\033[32mholds\033[0m";
    struct Case {
        bool outTerminal;
        bool errTerminal;
        const char* noColor;
        std::vector<std::string> options;
        bool outColour;
        bool errColour;
    };
    const Case cases[] = {
        {true, false, nullptr, {}, true, false},
        {true, true, "", {}, true, false}, // an empty NO_COLOR counts as unset
        {true, true, "1", {}, false, false},
        {false, true, nullptr, {}, false, false},
        {false, false, nullptr, {}, false, false},
        // The report on standard error follows that stream.
        {false, true, nullptr, {"--svg", "-"}, false, true},
        {true, false, nullptr, {"--svg", "-"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.outTerminal) + std::to_string(c.errTerminal) +
                     (c.noColor ? c.noColor : "-") + std::to_string(c.options.size()));
        const Console console = MakeConsole(c.outTerminal, c.errTerminal, c.noColor, "3600000");
        SimRun run = RunText(kFailing, c.options, console);
        EXPECT_EQ(run.code, 1);
        const std::string& report = c.options.empty() ? run.out : run.err;
        EXPECT_TRUE(Has(report, "FAILED line 3") || Has(report, red + " line 3")) << report;
        EXPECT_EQ(Has(run.out, red), c.outColour);
        EXPECT_EQ(Has(run.out, green), c.outColour);
        EXPECT_EQ(Has(run.out, "\033[32m1 held\033[0m, \033[1;31m1 failed\033[0m"), c.outColour);
        EXPECT_EQ(Has(run.err, red), c.errColour);
        EXPECT_EQ(Has(run.out + run.err, "\033["), c.outColour || c.errColour);
    }
}

TEST(KipoSimConventions, ProgressOnlyOnATerminalsStandardError) {
    struct Case {
        bool errTerminal;
        const char* after;
        bool shown;
    };
    const Case cases[] = {
        {true, "0", true},
        {true, "3600000", false}, // a run shorter than the delay stays silent
        {false, "0", false},      // never into a file or pipe
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.errTerminal) + c.after);
        const Console console = MakeConsole(false, c.errTerminal, nullptr, c.after);
        SimRun run = RunText("wait 48h\nexpect running\n", {"--quiet"}, console);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(
            std::regex_search(run.err, std::regex("^\r\033\\[Kkipo-sim: [0-9:d ]+ simulated")),
            c.shown)
            << run.err;
        if (c.shown) // erased at the end: the prompt comes back on a clean line
            EXPECT_EQ(run.err.substr(run.err.size() - 4), "\r\033[K");
        else
            EXPECT_EQ(run.err, "");
        // The report itself is the same either way.
        EXPECT_TRUE(Has(run.out, "Summary: 2d 00:00:00.000 simulated")) << run.out;
    }
}

TEST(KipoSimConventions, ConsoleFromTheEnvironment) {
    struct Case {
        const char* noColor;
        const char* after;
        bool colourOnTerminal;
        long long afterMs;
    };
    const Case cases[] = {
        {nullptr, nullptr, true, 1000}, {"", nullptr, true, 1000},   {"0", nullptr, false, 1000},
        {nullptr, "0", true, 0},        {nullptr, "250", true, 250}, {nullptr, "-5", true, 1000},
        {nullptr, "12x", true, 1000},   {nullptr, "", true, 1000},
    };
    for (const Case& c : cases) {
        const Console console = MakeConsole(true, true, c.noColor, c.after);
        EXPECT_EQ(console.Colour(false), c.colourOnTerminal);
        EXPECT_EQ(console.progressAfter.count(), c.afterMs);
        EXPECT_FALSE(MakeConsole(false, false, c.noColor, c.after).Colour(false));
        EXPECT_FALSE(MakeConsole(false, false, c.noColor, c.after).ShowProgress());
    }
}

} // namespace
