#include "app/wide_number.h"

#include <cstdint>

#include "platform/text.h"

LONG WideToLong(const WCHAR* text, const WCHAR** end) {
    if (end != nullptr)
        *end = text;
    if (text == nullptr)
        return 0;
    const WCHAR* p = text;
    while (*p != 0 && IsSpaceW(*p))
        ++p;
    bool negative = false;
    if (*p == u'+' || *p == u'-') {
        negative = *p == u'-';
        ++p;
    }
    // The magnitude is kept one past LONG's largest value at most, so it cannot overflow.
    constexpr std::int64_t limit = static_cast<std::int64_t>(INT32_MAX) + 1;
    std::int64_t magnitude = 0;
    const WCHAR* digits = p;
    while (*p >= u'0' && *p <= u'9') {
        magnitude = magnitude * 10 + (*p - u'0');
        if (magnitude > limit)
            magnitude = limit;
        ++p;
    }
    if (p == digits)
        return 0;
    if (end != nullptr)
        *end = p;
    if (negative)
        return static_cast<LONG>(-magnitude); // -limit is INT32_MIN exactly
    return static_cast<LONG>(magnitude > INT32_MAX ? INT32_MAX : magnitude);
}
