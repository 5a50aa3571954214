// The executable's path read whole, whatever its length: a path that just fits the first buffer
// takes one call, one that does not fit grows the buffer, and a path longer than the longest
// Windows has comes back cut to that length with no terminator in the text.
#include <gtest/gtest.h>

#include <source_location>

#include "framework/app_name.h"
#include "tests/support/device_test.h"

namespace {

struct PathCase {
    std::source_location where = std::source_location::current();
    std::size_t length = 0;     // of the executable's path
    std::size_t readLength = 0; // of what AfxModuleFileName gives back
    std::uint64_t calls = 0;    // to GetModuleFileNameW
};

// clang-format off
const PathCase kCases[] = {
    {.length = 1, .readLength = 1, .calls = 1},
    // The first buffer holds 260 characters with the terminator.
    {.length = 259, .readLength = 259, .calls = 1},
    {.length = 260, .readLength = 260, .calls = 2},
    {.length = 519, .readLength = 519, .calls = 2},
    {.length = 520, .readLength = 520, .calls = 3},
    // The longest buffer offered holds 32768.
    {.length = 32767, .readLength = 32767, .calls = 8},
    {.length = 32768, .readLength = 32767, .calls = 8},
    {.length = 40000, .readLength = 32767, .calls = 8},
};
// clang-format on

class AppNameTest : public DeviceTest {};

TEST_F(AppNameTest, ModuleFileNameReadsThePathWholeUpToTheLongestBuffer) {
    for (const PathCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "case at line " << c.where.line());
        WString path(c.length, u'p');
        path[0] = u'\\';
        device.SetProgramPath(path);
        const std::uint64_t before = device.trace.Count("GetModuleFileNameW");
        const WString read = AfxModuleFileName();
        EXPECT_EQ(device.trace.Count("GetModuleFileNameW") - before, c.calls);
        EXPECT_EQ(read.size(), c.readLength);
        EXPECT_EQ(read, path.substr(0, c.readLength));
    }
}

} // namespace
