#include "tools/kipo-sim/kipo_sim_app.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "kipo_sim_version.h" // generated from the project's version
#include "platform/sim/host_file.h"
#include "tools/kipo-sim/builtin_scenario.h"
#include "tools/kipo-sim/commands.h"
#include "tools/kipo-sim/options.h"
#include "tools/kipo-sim/progress.h"
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

// The output files, checked before the run so a mistyped folder fails at once and not after
// a simulated year. Empty when both can be written, else the message.
std::string CheckOutputs(const Options& options) {
    if (options.svgFile == "-" && options.saveRegistryFile == "-")
        return "--svg and --save-registry cannot both write to standard output";
    for (const std::string* file : {&options.svgFile, &options.saveRegistryFile}) {
        if (file->empty() || *file == "-")
            continue;
        const std::string why = sim::WhyNotWritable(*file);
        if (!why.empty())
            return "cannot write " + *file + ": " + why;
    }
    return {};
}

} // namespace

int RunKipoSim(const std::vector<std::string>& args, std::istream& in, std::FILE* out,
               std::FILE* err, const Console& console) {
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
    if (options.version) {
        std::fprintf(out, "kipo-sim %s\n", kVersion);
        return 0;
    }
    if (options.showBuiltIn) {
        std::fputs(BuiltInScenario(), out);
        return 0;
    }
    error = CheckOutputs(options);
    if (!error.empty()) {
        std::fprintf(err, "kipo-sim: %s\n", error.c_str());
        return 2;
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
        std::string why;
        if (!sim::ReadHostFile(options.scenarioFile, text, why)) {
            std::fprintf(err, "kipo-sim: cannot read %s: %s\n", name.c_str(), why.c_str());
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

    // When standard output carries a file, the report goes to standard error beside the
    // other messages, so `--svg - > day.svg` holds nothing but the chart.
    const bool reportOnErr = options.svgFile == "-" || options.saveRegistryFile == "-";
    std::FILE* report = reportOnErr ? err : out;
    if (!options.quiet)
        std::fprintf(report, "kipo-sim: %s\n", name.c_str());
    std::optional<Progress> progress;
    if (console.ShowProgress())
        progress.emplace(err, console.progressAfter);
    Runner runner(scenario, options, report);
    runner.SetConsole(console.Colour(reportOnErr), progress ? &*progress : nullptr, out);
    runner.SetErrors(err);
    RunResult result = runner.Run();
    if (result.exitCode != 2 && !options.svgFile.empty()) {
        const std::string chart = SvgChart(runner.Log(), "kipo-sim: " + name);
        bool written;
        if (options.svgFile == "-") {
            written = std::fwrite(chart.data(), 1, chart.size(), out) == chart.size() &&
                      std::fflush(out) == 0;
        } else {
            std::ofstream svg(options.svgFile, std::ios::binary);
            svg << chart;
            svg.close();
            written = static_cast<bool>(svg);
        }
        if (!written) {
            std::fprintf(err, "kipo-sim: cannot write %s\n",
                         options.svgFile == "-" ? "the chart to standard output"
                                                : options.svgFile.c_str());
            return result.exitCode == 0 ? 1 : result.exitCode;
        }
    }
    std::fflush(out);
    return result.exitCode;
}

} // namespace kiposim
