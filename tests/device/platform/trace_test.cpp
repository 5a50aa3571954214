#include <gtest/gtest.h>

#include "tests/support/device_test.h"

using TraceTest = DeviceTest;

TEST_F(TraceTest, CountsAlwaysAndRecordsOnlyWhenEnabled) {
    device.trace.Call("RegCloseKey", 0L, static_cast<const void*>(nullptr));
    EXPECT_EQ(device.trace.Count("RegCloseKey"), 1u);
    EXPECT_TRUE(device.trace.Records().empty());
    device.trace.Enable(true);
    device.trace.Call("SetDevicePower", 0L, TEXT("dev\\x"), 1, 4);
    ASSERT_EQ(device.trace.Records().size(), 1u);
    EXPECT_EQ(device.trace.Records()[0].Text(), "SetDevicePower(\"dev\\x\", 1, 4) = 0");
    EXPECT_EQ(device.trace.Count("SetDevicePower"), 1u);
    EXPECT_EQ(device.trace.Count("Sleep"), 0u);
}
