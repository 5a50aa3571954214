// The command-line interval on arbitrary text (up to its first NUL, as the loader passes it):
// the parsed value must equal a reference that works on the digit string instead of
// arithmetic, and a command line of blanks alone must leave the interval untouched.
#include <cstdlib>

#include "app/command_line.h"
#include "fuzz/fuzz_input.h"
#include "platform/sim/device.h"

namespace {

// Decimal digits compared as text against the 32-bit limits, so an overflow in the parser
// cannot be matched by the same overflow here.
LONG ReferenceValue(const WString& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpaceW(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::string digits;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (digits.empty() && text[i] == u'0')
            continue;
        digits.push_back(static_cast<char>(text[i]));
    }
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
        return negative ? INT32_MIN : INT32_MAX;
    long long value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return static_cast<LONG>(negative ? -value : value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Device device;
    const WString raw = WideFromBytes(data, size);
    const WString line = raw.substr(0, raw.find(u'\0'));
    constexpr LONG untouched = 0x5A5A5A5A;
    LONG interval = untouched;
    const bool given = CommandLineInterval(line.c_str(), interval);
    bool blank = true;
    for (WCHAR c : line)
        blank = blank && IsSpaceW(c);
    if (given == blank)
        std::abort();
    if (!given && interval != untouched)
        std::abort();
    if (given && interval != ReferenceValue(line))
        std::abort();
    return 0;
}
