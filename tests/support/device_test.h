// Base fixture of device tests: a fresh simulated Pocket PC for every test.
#pragma once

#include <gtest/gtest.h>

#include "platform/sim/device.h"

class DeviceTest : public ::testing::Test {
protected:
    sim::Device device;
};
