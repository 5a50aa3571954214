// kipo-sim's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kiposim {

struct Options {
    bool help = false;
    bool version = false;
    bool quiet = false;   // failures and the summary only
    bool trace = false;   // every platform call as it happens
    bool explain = false; // the rules tried at every tick whose caption changed
    bool showBuiltIn = false;
    std::string scenarioFile; // empty: the built-in scenario; "-": standard input
    std::string svgFile;      // "-": standard output
    std::string registryFile;
    std::string saveRegistryFile;  // "-": standard output
    bool saveRegistryUtf8 = false; // UTF-8 instead of regedit's UTF-16LE
};

// Fills `options` from the arguments after the program name; on a mistake returns false and
// sets `error`.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// The text --help prints.
std::string UsageText();

} // namespace kiposim
