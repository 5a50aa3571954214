#include "platform/sim/dialog_units.h"

#include <cstdint>

namespace sim {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t divisor = c;
    const bool negative = (product < 0) != (divisor < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product);
    const std::int64_t d = divisor < 0 ? -divisor : divisor;
    const std::int64_t rounded = (magnitude + d / 2) / d;
    const std::int64_t result = negative ? -rounded : rounded;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int>(result);
}

BaseUnits BaseUnitsFor(int pointSize, int dpi) {
    if (pointSize <= 0)
        pointSize = 8; // a template without a usable size gets the system font's
    const int em = MulDiv(pointSize, dpi, 72);
    // 2472/2048 and 1116/2048: Tahoma's cell height and average letter width per em.
    const int height = (em * 2472 + 1024) / 2048;
    const int width = (em * 1116 + 1024) / 2048;
    return BaseUnits{width > 0 ? width : 1, height > 0 ? height : 1};
}

} // namespace sim
