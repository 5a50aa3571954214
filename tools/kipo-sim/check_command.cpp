#include <string>

#include "tools/kipo-sim/commands.h"
#include "tools/kipo-sim/settings_check.h"
#include "tools/kipo-sim/settings_probe.h"

namespace kiposim {

namespace {

const char* const kCheckUsage =
    "usage: kipo-sim check [--registry FILE.reg]\n"
    "Reads Kipo's nine settings (from FILE.reg, else the defaults) and prints, one per line,\n"
    "every setting that will not do what its author probably meant: the value and entry,\n"
    "what Kipo will do with it, and what was probably meant. Exit status: 0 no findings,\n"
    "1 findings, 2 the file cannot be read.\n";

} // namespace

int RunCheck(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
    std::string registry;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kCheckUsage, out);
            return 0;
        }
        if (arg == "--registry" && i + 1 < args.size()) {
            registry = args[++i];
        } else if (arg.rfind("--registry=", 0) == 0) {
            registry = arg.substr(11);
        } else {
            std::fprintf(err, "kipo-sim check: %s: %s\n%s", arg.c_str(),
                         arg == "--registry" ? "needs a file" : "unknown argument", kCheckUsage);
            return 2;
        }
    }
    SettingsProbe probe;
    std::string error;
    if (!probe.Load(registry, error)) {
        std::fprintf(err, "%s\n", error.c_str());
        return 2;
    }
    const std::string source = registry.empty() ? "defaults" : registry;
    const std::vector<Finding> findings = CheckSettings(probe);
    for (const Finding& f : findings)
        std::fprintf(out, "%s: %s: %s [%s]\n", source.c_str(), f.where.c_str(), f.text.c_str(),
                     f.kind.c_str());
    if (findings.empty()) {
        std::fprintf(out, "%s: no findings\n", source.c_str());
        return 0;
    }
    std::fprintf(out, "%zu finding%s\n", findings.size(), findings.size() == 1 ? "" : "s");
    return 1;
}

} // namespace kiposim
