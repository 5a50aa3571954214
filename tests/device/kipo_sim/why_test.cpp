// `kipo-sim why` against a scenario run of the same settings and windows, for every row of the
// tick's precedence table (off lists first or last, caption new or unchanged) and both radios:
// the rules tried and the deciding rule are the lines --explain prints for the same tick, and
// the radio states why predicts for the first and the later ticks hold in the scenario.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/device/kipo_sim/sim_run.h"

using namespace kiposim;

namespace {

struct Output {
    int code = -1;
    std::string out;
};

// Standard output and standard error together, as a terminal shows them.
Output Sim(const std::vector<std::string>& args, const std::string& input = "") {
    const simrun::SimRun run = simrun::RunSim(args, input);
    return {run.code, run.out + run.err};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first);
}

// What `why` printed for one tick: the explanation lines and each radio's state after it.
struct WhyTick {
    std::vector<std::string> explained;
    std::string state[2]; // "on" / "off"
};

std::vector<WhyTick> ParseWhy(const std::string& out) {
    std::vector<WhyTick> ticks;
    for (const std::string& line : Lines(out)) {
        if (line.rfind("first tick", 0) == 0 || line.rfind("every later tick", 0) == 0)
            ticks.emplace_back();
        else if (ticks.empty())
            continue;
        else if (line.rfind("    ", 0) == 0)
            ticks.back().explained.push_back(Trim(line));
        else if (line.rfind("  Bluetooth: ", 0) == 0 || line.rfind("  WiFi: ", 0) == 0) {
            const int r = line[2] == 'B' ? 0 : 1;
            // "off -> on", "stays on", "stays off: no effect (...)"
            const std::string what = line.substr(line.find(": ") + 2);
            const bool on = what.rfind("stays on", 0) == 0 || what.rfind("off -> on", 0) == 0;
            ticks.back().state[r] = on ? "on" : "off";
        }
    }
    return ticks;
}

// The explanation --explain printed for the first new caption of a scenario run, without the
// outcome lines (which say what became of the radios, not which rules decided).
std::vector<std::string> ExplainedFirstTick(const std::string& out) {
    std::vector<std::string> lines;
    bool inTick = false;
    for (const std::string& line : Lines(out)) {
        if (!inTick) {
            inTick = line.find("  tick: caption ") != std::string::npos;
            continue;
        }
        if (line.rfind("            ", 0) != 0)
            break;
        const std::string text = Trim(line);
        if (text.find(" outcome: ") == std::string::npos &&
            text.find("Kipo believes") == std::string::npos)
            lines.push_back(text);
    }
    return lines;
}

// Each row runs for both radios: its lists are written with "#b", then with "#w".
struct Row {
    int line;
    int override_;
    std::string onList, offList, onRunList;
    int defaultAction;
    std::vector<std::string> running;
    // What why must say: the deciding rule of the first tick and of the later ticks ("" none).
    std::string firstDecision, laterDecision;
};

std::string RegFile(const Row& row, bool wifi) {
    const std::string p = wifi ? "#w" : "#b";
    auto list = [&](const std::string& entries) {
        std::string text;
        std::istringstream in(entries);
        for (std::string e; std::getline(in, e, ';');)
            text += p + e + ";";
        return text;
    };
    std::ostringstream reg;
    reg << "Windows Registry Editor Version 5.00\n\n"
        << "[HKEY_CURRENT_USER\\software\\Kipo\\Kipo\\Settings]\n"
        << "\"OnList\"=\"" << list(row.onList) << "\"\n"
        << "\"OffList\"=\"" << list(row.offList) << "\"\n"
        << "\"OnRunList\"=\"" << list(row.onRunList) << "\"\n"
        << "\"" << (wifi ? "WFDefaultAction" : "DefaultAction") << "\"=dword:0000000"
        << row.defaultAction << "\n"
        << "\"OffTakesPrecedence\"=dword:0000000" << row.override_ << "\n"
        << "\"BTControl\"=dword:00000001\n";
    return reg.str();
}

// One row a line, wider than the usual limit, so that rows read as a table.
// clang-format off
const std::vector<Row> kRows = {
    // Off lists first, caption new: the off entry wins over a running window and an on entry;
    // later ticks: the radio known off stays decided, the running window is not looked at.
    {__LINE__, 1, "Mail", "Mail", "Calendar", 0, {"Calendar"}, "off list entry 1", "known off"},
    // Off lists first, no off entry matches: the running list, on every tick.
    {__LINE__, 1, "Mail", "Notes", "Calendar", 2, {"Calendar"}, "running list entry 1", "running list entry 1"},
    // Off lists first, nothing matches: the default action; later ticks: the radio it left
    // known off stays decided.
    {__LINE__, 1, "Notes", "Notes", "Tasks", 2, {}, "default action", "known off"},
    // Off lists last, caption new: the running window wins over the off entry; later ticks:
    // the running list only.
    {__LINE__, 0, "Notes", "Mail", "Calendar", 2, {"Calendar"}, "running list entry 1", "running list entry 1"},
    // Off lists last: the on-while-active entry wins over the off entry; later ticks nothing.
    {__LINE__, 0, "Mail", "Mail", "Tasks", 2, {}, "on-while-active list entry 1", ""},
    // Off lists last, no on entry: the off entry, then nothing.
    {__LINE__, 0, "Notes", "Mail", "Tasks", 1, {}, "off list entry 1", ""},
};
// clang-format on


std::string DecidedBy(const WhyTick& tick, bool wifi) {
    const std::string head = std::string(wifi ? "WiFi" : "Bluetooth") + " decided: ";
    for (const std::string& line : tick.explained)
        if (line.rfind(head, 0) == 0)
            return line;
    return "";
}

TEST(KipoSimWhy, AgreesWithAScenarioForEveryRowOfThePrecedenceTable) {
    // The caption in front; the rows' lists name its beginning ("Mail") or other programs.
    const std::string caption = "Mail - Inbox";
    int n = 0;
    for (const Row& row : kRows)
        for (const bool wifi : {false, true}) {
            SCOPED_TRACE(testing::Message()
                         << "row at line " << row.line << (wifi ? ", WiFi" : ", Bluetooth"));
            const std::string reg =
                ::testing::TempDir() + "why_row_" + std::to_string(++n) + ".reg";
            std::ofstream(reg, std::ios::binary) << RegFile(row, wifi);

            std::vector<std::string> why = {"why",  "--registry", reg,      "--stack", "microsoft",
                                            "--bt", "on",         "--wifi", "on"};
            for (const std::string& r : row.running) {
                why.push_back("--running");
                why.push_back(r);
            }
            why.push_back(caption);
            const Output said = Sim(why);
            ASSERT_EQ(said.code, 0) << said.out;
            const std::vector<WhyTick> ticks = ParseWhy(said.out);
            ASSERT_EQ(ticks.size(), 2u) << said.out;
            EXPECT_NE(DecidedBy(ticks[0], wifi).find(row.firstDecision), std::string::npos)
                << said.out;
            if (row.laterDecision.empty())
                EXPECT_EQ(DecidedBy(ticks[1], wifi), "") << said.out;
            else
                EXPECT_NE(DecidedBy(ticks[1], wifi).find(row.laterDecision), std::string::npos)
                    << said.out;

            // The same device, settings and windows as a scenario, expecting what why predicted.
            std::string scenario = "stack microsoft\nbt on\nwifi on\n";
            for (const std::string& r : row.running)
                scenario += "open-behind \"" + r + "\"\n";
            scenario += "open \"" + caption + "\"\nwait 1 tick\n";
            scenario +=
                "expect bt " + ticks[0].state[0] + "\nexpect wifi " + ticks[0].state[1] + "\n";
            scenario += "wait 1 tick\n";
            scenario +=
                "expect bt " + ticks[1].state[0] + "\nexpect wifi " + ticks[1].state[1] + "\n";
            const Output ran = Sim({"--explain", "--registry", reg, "-"}, scenario);
            EXPECT_EQ(ran.code, 0) << scenario << ran.out;
            EXPECT_EQ(ExplainedFirstTick(ran.out), ticks[0].explained) << said.out << ran.out;
        }
}

// Input that cannot be read: exit 2 and a message that names the problem; nothing else runs.
TEST(KipoSimWhy, UnreadableInputExitsWithTwo) {
    const std::string broken = ::testing::TempDir() + "why_broken.reg";
    std::ofstream(broken, std::ios::binary)
        << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\x]\n\"a\"=\"open\n";
    struct Case {
        int line;
        std::vector<std::string> args;
        std::string said;
    };
    const Case cases[] = {
        {__LINE__, {"why"}, "which caption?"},
        {__LINE__, {"why", "a", "b"}, "one caption only"},
        {__LINE__, {"why", "--registry"}, "--registry: needs a value"},
        {__LINE__, {"why", "--wifi", "maybe", "x"}, "--wifi maybe"},
        {__LINE__, {"why", "--registry", "/no/such/file.reg", "x"}, "/no/such/file.reg"},
        {__LINE__, {"why", "--registry", broken, "x"}, broken + ":4"},
        {__LINE__, {"check", "--registry", broken}, broken + ":4"},
        {__LINE__, {"check", "--nonsense"}, "--nonsense: unknown argument"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.line);
        const Output o = Sim(c.args);
        EXPECT_EQ(o.code, 2) << o.out;
        EXPECT_NE(o.out.find(c.said), std::string::npos) << o.out;
        EXPECT_EQ(o.out.find("first tick"), std::string::npos) << o.out;
    }
}

// The defaults do what they say: `check` without a file finds nothing.
TEST(KipoSimCheck, TheDefaultsHaveNoFindings) {
    const Output o = Sim({"check"});
    EXPECT_EQ(o.code, 0) << o.out;
    EXPECT_EQ(o.out, "defaults: no findings\n");
}

// A list far longer than anyone writes is checked in bounded time: its entries past the
// first 500 are not compared with one another, and that is said.
TEST(KipoSimCheck, HugeListsAreBoundedAndSaySo) {
    std::string entries;
    for (int i = 1; i <= 1200; ++i)
        entries += "#bP" + std::string(static_cast<std::size_t>(i % 40), 'x') + ";";
    const std::string reg = ::testing::TempDir() + "check_huge.reg";
    std::ofstream(reg, std::ios::binary)
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\software\\Kipo\\Kipo\\Settings]\n\"OnList\"=\""
        << entries << "\"\n\"OffList\"=\"" << entries << "\"\n";
    const Output o = Sim({"check", "--registry", reg});
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.out.find(": OnList: has more than 500 entries"), std::string::npos);
    EXPECT_NE(o.out.find("were not tried (after 1000)"), std::string::npos);
    EXPECT_NE(o.out.find("[twice]"), std::string::npos);
}

} // namespace
