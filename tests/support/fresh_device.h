// A fresh device for one test. On the simulated device it is a new sim::Device; under Wine it
// clears the program's registry keys before and after the test. Portable tests use only this
// and Win32 calls.
#pragma once

#include "platform/platform.h"

class FreshDevice {
public:
    FreshDevice();
    ~FreshDevice();
    FreshDevice(const FreshDevice&) = delete;
    FreshDevice& operator=(const FreshDevice&) = delete;

    // Registry keys, events and libraries open in the program's process (under Wine, the keys
    // this test process opened through the platform layer that are still open).
    int OpenHandles() const;

    // The module path GetModuleFileNameW reports, for tests of the application name.
    void SetProgramPath(const WString& path);

private:
    struct Impl;
    Impl* impl_;
};
