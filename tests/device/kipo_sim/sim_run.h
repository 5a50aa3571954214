// Running kipo-sim in-process on a fresh simulated device, for the tests of kipo-sim.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tools/kipo-sim/kipo_sim_app.h"

namespace kiposim {

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

inline SimRun RunSim(const std::vector<std::string>& args, const std::string& input = "") {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::istringstream in(input);
    SimRun run;
    run.code = RunKipoSim(args, in, out, err);
    run.out = ReadStream(out);
    run.err = ReadStream(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

// A scenario given on standard input.
inline SimRun RunText(const std::string& scenario, std::vector<std::string> options = {}) {
    options.push_back("-");
    return RunSim(options, scenario);
}

inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + name;
}

} // namespace kiposim
