// kipo-sim: runs the real program on the simulated Pocket PC through a scenario and shows
// what it switched and why.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "tools/kipo-sim/builtin_scenario.h"
#include "tools/kipo-sim/options.h"
#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/scenario_parser.h"
#include "tools/kipo-sim/svg_chart.h"

using namespace kiposim;

namespace {

bool ReadAll(std::istream& in, std::string& text) {
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "kipo-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (options.showBuiltIn) {
        std::fputs(BuiltInScenario(), stdout);
        return 0;
    }

    std::string text;
    std::string name;
    if (options.scenarioFile.empty()) {
        text = BuiltInScenario();
        name = "built-in scenario";
    } else if (options.scenarioFile == "-") {
        name = "<stdin>";
        if (!ReadAll(std::cin, text)) {
            std::fprintf(stderr, "kipo-sim: cannot read standard input\n");
            return 2;
        }
    } else {
        name = options.scenarioFile;
        std::ifstream file(options.scenarioFile, std::ios::binary);
        if (!file || !ReadAll(file, text)) {
            std::fprintf(stderr, "kipo-sim: cannot read %s\n", options.scenarioFile.c_str());
            return 2;
        }
    }

    Scenario scenario;
    try {
        scenario = ParseScenario(text, name);
    } catch (const ScenarioError& e) {
        std::fprintf(stderr, "%s\n", e.Describe(name).c_str());
        return 2;
    }

    if (!options.quiet)
        std::printf("kipo-sim: %s\n", name.c_str());
    Runner runner(scenario, options, stdout);
    RunResult result = runner.Run();
    if (result.exitCode != 2 && !options.svgFile.empty()) {
        std::ofstream svg(options.svgFile, std::ios::binary);
        svg << SvgChart(runner.Log(), "kipo-sim: " + name);
        if (!svg) {
            std::fprintf(stderr, "kipo-sim: cannot write %s\n", options.svgFile.c_str());
            return result.exitCode == 0 ? 1 : result.exitCode;
        }
    }
    std::fflush(stdout);
    return result.exitCode;
}
