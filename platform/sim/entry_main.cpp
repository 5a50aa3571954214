// The Kipo executable on the simulated device: boots a fresh device, runs the program's own
// wWinMain in the program's process with the arguments as its command line, and returns its
// result. With nothing on the device's agenda the run ends at the program's first idle wait.
#include <string>

#include "platform/platform.h"
#include "platform/sim/device.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);

int main(int argc, char** argv) {
    sim::Device device;
    std::string arguments;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            arguments += ' ';
        arguments += argv[i];
    }
    WString commandLine = FromUtf8(arguments);

    sim::Device::ProcessScope program(device, sim::kProgramProcess);
    device.ProcessById(sim::kProgramProcess).running = true;
    const int result = wWinMain(GetModuleHandleW(nullptr), nullptr, commandLine.data(), SW_SHOW);
    device.ProcessById(sim::kProgramProcess).running = false;
    return result;
}
