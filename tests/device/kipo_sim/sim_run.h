// kipo-sim run in-process for tests: arguments and standard input in, exit status and both
// output streams back.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/kipo-sim/kipo_sim_app.h"

namespace kiposim::simrun {

struct SimRun {
    int code = -1;
    std::string out;
    std::string err;
};

inline std::string ReadStream(std::FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0)
        text.append(buf, n);
    return text;
}

inline SimRun RunSim(const std::vector<std::string>& args, const std::string& input = "",
                     const Console& console = {}) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::istringstream in(input);
    SimRun run;
    run.code = RunKipoSim(args, in, out, err, console);
    run.out = ReadStream(out);
    run.err = ReadStream(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

// A scenario given on standard input.
inline SimRun RunText(const std::string& scenario, std::vector<std::string> options = {},
                      const Console& console = {}) {
    options.push_back("-");
    return RunSim(options, scenario, console);
}

inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + name;
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool Has(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

} // namespace kiposim::simrun
