#include "tests/support/fresh_device.h"

#include "platform/sim/device.h"

struct FreshDevice::Impl {
    sim::Device device;
};

FreshDevice::FreshDevice() : impl_(new Impl) {}
FreshDevice::~FreshDevice() { delete impl_; }

int FreshDevice::OpenHandles() const { return impl_->device.OpenHandles(sim::kProgramProcess); }

bool FreshDevice::SetProgramPath(const WString& path) {
    impl_->device.SetProgramPath(path);
    return true;
}

model::Handheld& FreshDevice::Handheld() { return impl_->device.handheld; }
