#include "tools/kipo-sim/options.h"

#include "tools/kipo-sim/suggest.h"

namespace kiposim {

namespace {

// For "did you mean", the common ones first: a slip as near to two names is taken for the
// earlier.
const std::vector<std::string>& OptionNames() {
    static const std::vector<std::string> names = {
        "--quiet",         "--explain",      "--trace", "--svg",     "--registry",
        "--save-registry", "--show-builtin", "--help",  "--version", "--save-registry-utf8"};
    return names;
}

} // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    bool fileSeen = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // --name VALUE or --name=VALUE
        auto value = [&](const std::string& name, std::string& out) {
            if (arg == name) {
                if (i + 1 >= args.size() || args[i + 1].empty()) {
                    error = name + " needs a file name";
                    return false;
                }
                out = args[++i];
                return true;
            }
            out = arg.substr(name.size() + 1);
            if (out.empty()) {
                error = name + " needs a file name";
                return false;
            }
            return true;
        };
        auto is = [&](const std::string& name) {
            return arg == name || arg.rfind(name + "=", 0) == 0;
        };
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            options.help = true;
        } else if (!optionsEnded && arg == "--version") {
            options.version = true;
        } else if (!optionsEnded && arg == "--quiet") {
            options.quiet = true;
        } else if (!optionsEnded && arg == "--trace") {
            options.trace = true;
        } else if (!optionsEnded && arg == "--explain") {
            options.explain = true;
        } else if (!optionsEnded && arg == "--show-builtin") {
            options.showBuiltIn = true;
        } else if (!optionsEnded && is("--svg")) {
            if (!value("--svg", options.svgFile))
                return false;
        } else if (!optionsEnded && is("--registry")) {
            if (!value("--registry", options.registryFile))
                return false;
        } else if (!optionsEnded && is("--save-registry")) {
            if (!value("--save-registry", options.saveRegistryFile))
                return false;
        } else if (!optionsEnded && is("--save-registry-utf8")) {
            if (!value("--save-registry-utf8", options.saveRegistryFile))
                return false;
            options.saveRegistryUtf8 = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            // A value given with = is not part of the name the user meant.
            const std::string name = arg.substr(0, arg.find('='));
            const std::string guess = Suggest(name, OptionNames());
            error = "unknown option " + arg +
                    (guess.empty() ? " (kipo-sim --help lists them)"
                                   : " (did you mean " + guess + "?)");
            return false;
        } else {
            if (fileSeen) {
                error = "one scenario at a time: " + options.scenarioFile + " and " + arg;
                return false;
            }
            if (arg.empty()) {
                error = "an empty scenario file name";
                return false;
            }
            fileSeen = true;
            options.scenarioFile = arg;
        }
    }
    return true;
}

std::string UsageText() {
    return "usage: kipo-sim [options] [FILE]\n"
           "       kipo-sim check [--registry FILE.reg]\n"
           "       kipo-sim why [--registry FILE.reg] [--running CAPTION]... CAPTION\n"
           "\n"
           "Runs Kipo on a simulated Pocket PC through a scenario and shows what it switched\n"
           "and why. Without FILE: the built-in scenario (a short day of a user). '-' reads\n"
           "the scenario from standard input. The language is described in docs/scenarios.md.\n"
           "\n"
           "options:\n"
           "  --quiet                 print only failures and the summary\n"
           "  --explain               at every tick whose caption changed, the rules tried\n"
           "  --trace                 every platform call as it is made\n"
           "  --svg FILE              write the run as a timeline chart (SVG)\n"
           "  --registry FILE.reg     load the device registry from a .reg file first\n"
           "  --save-registry FILE.reg  write the device registry after a run whose checks\n"
           "                          held, as regedit does (UTF-16LE); '-': standard output\n"
           "  --save-registry-utf8 FILE.reg  the same in UTF-8\n"
           "  --show-builtin          print the built-in scenario and exit\n"
           "  --help                  this text\n"
           "  --version               kipo-sim's version\n"
           "\n"
           "FILE '-' for --svg or --save-registry is standard output; the report then goes to\n"
           "standard error. Output files are checked before the run. Colour on a terminal\n"
           "unless NO_COLOR is set; progress of long runs on standard error when it is a\n"
           "terminal.\n"
           "\n"
           "check: the settings that will not do what their author probably meant (exit 0\n"
           "none, 1 some, 2 unreadable). why: what Kipo does to each radio when CAPTION comes\n"
           "to the front ('kipo-sim why --help'). Both are described in docs/user-guide.md.\n"
           "\n"
           "exit status: 0 every expect held; 1 an expect failed, a step could not apply or an\n"
           "output could not be written; 2 the command line, the scenario or a .reg file is\n"
           "wrong or cannot be read, or an output's folder is missing.\n";
}

} // namespace kiposim
