// kipo-sim: runs the real program on the simulated Pocket PC through a scenario and shows
// what it switched and why.
#include <cstdio>
#include <iostream>

#include "tools/kipo-sim/kipo_sim_app.h"

int main(int argc, char** argv) {
    return kiposim::RunKipoSim(std::vector<std::string>(argv + 1, argv + argc), std::cin, stdout,
                               stderr, kiposim::DetectConsole());
}
