#include "platform/sim/threads.h"

#include <cstdio>
#include <cstdlib>

#include "platform/sim/device.h"

namespace sim {

Threads::Threads(Device& device, int hostProcess) : device_(device) {
    auto host = std::make_unique<SimThread>();
    host->process = hostProcess;
    running_ = host.get();
    threads_.push_back(std::move(host));
}

Threads::~Threads() {
    for (auto& thread : threads_) {
        if (thread->alive && thread->index != 0) {
            std::fprintf(stderr, "kipo: a simulated program's thread outlived its device\n");
            std::abort();
        }
        if (thread->host.joinable())
            thread->host.join();
    }
}

SimThread& Threads::Start(int process, std::function<void()> body) {
    auto created = std::make_unique<SimThread>();
    SimThread& thread = *created;
    thread.index = static_cast<int>(threads_.size());
    thread.process = process;
    thread.started = false;
    thread.body = std::move(body);
    threads_.push_back(std::move(created));
    thread.host = std::thread([this, &thread] {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            thread.turn.wait(lock, [&] { return running_ == &thread; });
        }
        thread.savedProcess = thread.process;
        thread.savedError = 0;
        Restore(thread);
        thread.started = true;
        thread.body();
    });
    return thread;
}

SimThread* Threads::OwnerOf(int process) const {
    if (process == 0)
        return nullptr;
    for (auto it = threads_.rbegin(); it != threads_.rend(); ++it)
        if ((*it)->alive && (*it)->process == process)
            return it->get();
    return nullptr;
}

bool Threads::AnyProgramAlive() const {
    for (std::size_t i = 1; i < threads_.size(); ++i)
        if (threads_[i]->alive)
            return true;
    return false;
}

void Threads::Restore(SimThread& thread) {
    device_.currentProcess_ = thread.savedProcess;
    device_.lastError_ = thread.savedError;
    device_.trace.SetContext(thread.savedProcess, device_.Now());
}

void Threads::SwitchTo(SimThread& next) {
    SimThread& self = *running_;
    self.savedProcess = device_.currentProcess_;
    self.savedError = device_.lastError_;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        running_ = &next;
        next.turn.notify_one();
        self.turn.wait(lock, [&] { return running_ == &self; });
    }
    Restore(self);
}

void Threads::Leave(SimThread& next) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = &next;
    next.turn.notify_one();
}

} // namespace sim
