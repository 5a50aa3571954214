#include "tools/kipo-sim/kipo_sim_app.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/kipo-sim/builtin_scenario.h"
#include "tools/kipo-sim/commands.h"
#include "tools/kipo-sim/options.h"
#include "tools/kipo-sim/runner.h"
#include "tools/kipo-sim/scenario_parser.h"
#include "tools/kipo-sim/svg_chart.h"

namespace kiposim {

namespace {

bool ReadAll(std::istream& in, std::string& text) {
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

} // namespace

int RunKipoSim(const std::vector<std::string>& args, std::istream& in, std::FILE* out,
               std::FILE* err) {
    // Commands come first; a scenario file named like one is given as ./check.
    if (!args.empty() && (args[0] == "check" || args[0] == "why")) {
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        return args[0] == "check" ? RunCheck(rest, out, err) : RunWhy(rest, out, err);
    }
    Options options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        std::fprintf(err, "kipo-sim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(UsageText().c_str(), out);
        return 0;
    }
    if (options.showBuiltIn) {
        std::fputs(BuiltInScenario(), out);
        return 0;
    }

    std::string text;
    std::string name;
    if (options.scenarioFile.empty()) {
        text = BuiltInScenario();
        name = "built-in scenario";
    } else if (options.scenarioFile == "-") {
        name = "<stdin>";
        if (!ReadAll(in, text)) {
            std::fprintf(err, "kipo-sim: cannot read standard input\n");
            return 2;
        }
    } else {
        name = options.scenarioFile;
        std::error_code ec;
        std::ifstream file(options.scenarioFile, std::ios::binary);
        if (std::filesystem::is_directory(options.scenarioFile, ec) || !file ||
            !ReadAll(file, text)) {
            std::fprintf(err, "kipo-sim: cannot read %s\n", options.scenarioFile.c_str());
            return 2;
        }
    }

    Scenario scenario;
    try {
        scenario = ParseScenario(text, name);
    } catch (const ScenarioError& e) {
        std::fprintf(err, "%s\n", e.Describe(name).c_str());
        return 2;
    }

    if (!options.quiet)
        std::fprintf(out, "kipo-sim: %s\n", name.c_str());
    Runner runner(scenario, options, out);
    runner.SetErrors(err);
    RunResult result = runner.Run();
    if (result.exitCode != 2 && !options.svgFile.empty()) {
        std::ofstream svg(options.svgFile, std::ios::binary);
        svg << SvgChart(runner.Log(), "kipo-sim: " + name);
        if (!svg) {
            std::fprintf(err, "kipo-sim: cannot write %s\n", options.svgFile.c_str());
            return result.exitCode == 0 ? 1 : result.exitCode;
        }
    }
    std::fflush(out);
    return result.exitCode;
}

} // namespace kiposim
