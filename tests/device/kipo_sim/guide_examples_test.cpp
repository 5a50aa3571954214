// The user guide cannot drift from the program: every table row of docs/user-guide.md that
// links a scenario shows only settings, steps and results written in that scenario (each
// `code` span of the row stands in it word for word, in the row's order), the scenarios themselves
// run under CTest, and every scenario of tests/scenarios/guide/ is shown in the guide.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path kSource(KIPO_SOURCE_DIR);

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The scenario's steps, comments left out, one per line.
std::string Steps(const std::string& scenario) {
    std::istringstream in(scenario);
    std::string steps;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("#", 0) == 0)
            continue;
        steps += line + "\n";
    }
    return steps;
}

TEST(GuideExamples, EveryTableRowIsWhatItsScenarioRuns) {
    const std::string guide = Read(kSource / "docs" / "user-guide.md");
    ASSERT_FALSE(guide.empty());
    const std::regex link(R"(\]\(\.\./(tests/scenarios/[A-Za-z0-9_/]+\.kipo)\))");
    const std::regex span("`([^`]+)`");
    std::set<std::string> linked;
    int rows = 0;
    std::istringstream in(guide);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("|", 0) != 0)
            continue;
        std::smatch m;
        if (!std::regex_search(line, m, link))
            continue;
        ++rows;
        const std::string file = m[1];
        linked.insert(file);
        const std::string scenario = Read(kSource / file);
        ASSERT_FALSE(scenario.empty()) << file << " (linked from: " << line << ")";
        const std::string steps = Steps(scenario);
        // In the row's order: a result shown after a step comes after it in the scenario.
        int spans = 0;
        std::size_t from = 0;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), span);
             it != std::sregex_iterator(); ++it) {
            ++spans;
            const std::size_t at = steps.find((*it)[1].str(), from);
            EXPECT_NE(at, std::string::npos) << "`" << (*it)[1] << "` is not in " << file
                                             << " (after the row's earlier spans)\n  row: " << line;
            if (at != std::string::npos)
                from = at;
        }
        EXPECT_GE(spans, 1) << "a row shows what its scenario does: " << line;
    }
    EXPECT_GE(rows, 20);
    for (const auto& entry :
         std::filesystem::directory_iterator(kSource / "tests" / "scenarios" / "guide")) {
        const std::string file = "tests/scenarios/guide/" + entry.path().filename().string();
        EXPECT_TRUE(linked.count(file)) << file << " is not shown in the user guide";
    }
}

} // namespace
