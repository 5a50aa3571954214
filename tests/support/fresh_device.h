// A fresh device for one test. On the simulated device it is a new sim::Device; under Wine it
// clears the program's registry keys before and after the test. Portable tests use only this
// and Win32 calls.
#pragma once

#include "platform/model/handheld.h"
#include "platform/platform.h"

class FreshDevice {
public:
    FreshDevice();
    ~FreshDevice();
    FreshDevice(const FreshDevice&) = delete;
    FreshDevice& operator=(const FreshDevice&) = delete;

    // Registry keys, events and libraries open in the program's process (under Wine, the
    // growth of the test process's kernel handle count since this object was made: keys and
    // events; libraries are not counted there).
    int OpenHandles() const;

    // The module path GetModuleFileNameW reports, for tests of the application name. False
    // where the host cannot change it (on Windows the path is the real one): skip the test.
    bool SetProgramPath(const WString& path);

    // The device's CE-only services (power manager, WLAN adapter, Bluetooth radio, idle timer):
    // the same model on both hosts, fresh for each test.
    model::Handheld& Handheld();

private:
    struct Impl;
    Impl* impl_;
};
