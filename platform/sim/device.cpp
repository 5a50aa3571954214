#include "platform/sim/device.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sim/messaging.h"

namespace sim {

const char* HandleKindName(HandleKind kind) {
    switch (kind) {
    case HandleKind::RegistryKey:
        return "registry key";
    case HandleKind::Event:
        return "event";
    case HandleKind::Library:
        return "library";
    case HandleKind::Mutex:
        return "mutex";
    }
    return "?";
}

Device::Device() {
    Process shell;
    shell.id = kShellProcess;
    shell.exePath = TEXT("\\Windows\\shell32.exe");
    Process program;
    program.id = kProgramProcess;
    program.exePath = TEXT("\\Program Files\\Kipo\\Kipo.exe");
    program.running = false;
    processes_.push_back(shell);
    processes_.push_back(program);
    previousCurrent_ = current_;
    current_ = this;
    BootWindows();
    BootShell();
}

Device::~Device() {
    // A program still running is ended as at shutdown, before the device it runs on goes.
    EndThreads();
    current_ = previousCurrent_;
}

void Device::NoCurrent() {
    std::fprintf(stderr, "kipo: a platform call was made with no simulated device\n");
    std::abort();
}

void Device::SetNow(std::uint64_t now) {
    now_ = now;
    trace.SetContext(currentProcess_, now_);
}

void Device::StartThread(int process, std::function<void()> body) {
    sim::StartThread(process, std::move(body));
}

void Device::RunUntilIdle() {
    sim::RunUntilIdle();
}

void Device::EndThreads() {
    if (threads.AnyProgramAlive())
        sim::EndThreads();
}

int Device::CreateProcess(const WString& exePath) {
    Process process;
    process.id = static_cast<int>(processes_.size()) + 1;
    process.exePath = exePath;
    processes_.push_back(process);
    return process.id;
}

void Device::NoProcess(int id) {
    std::fprintf(stderr, "kipo: no simulated process %d\n", id);
    std::abort();
}

Device::ProcessScope::ProcessScope(Device& device, int process)
    : device_(device), previous_(device.currentProcess_) {
    device_.currentProcess_ = process;
    device_.trace.SetContext(process, device_.now_);
}

Device::ProcessScope::~ProcessScope() {
    device_.currentProcess_ = previous_;
    device_.trace.SetContext(previous_, device_.now_);
}

int Device::OpenHandles(int process) const {
    int total = 0;
    for (HandleKind kind : {HandleKind::RegistryKey, HandleKind::Event, HandleKind::Library})
        total += OpenHandles(process, kind);
    return total;
}

int Device::OpenHandles(int process, HandleKind kind) const {
    return ProcessById(process).handles[static_cast<int>(kind)];
}

} // namespace sim
