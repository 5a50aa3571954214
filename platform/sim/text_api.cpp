// The simulated device's lower-case mapping and white-space class. The mapping is Windows':
// Unicode's simple lower case less the letters Windows keeps, from the generated table
// (tools/lower-case-gen). A high and a low surrogate side by side are lowered as the one
// letter they write; a lone surrogate has no case and stays as it is, as Windows leaves it.
#include <algorithm>
#include <cstdint>

#include "platform/platform.h"

namespace {

#include "platform/sim/lower_case_table.inc"

WCHAR LowerOf(WCHAR ch) {
    const unsigned c = static_cast<unsigned>(ch);
    return static_cast<WCHAR>(
        c +
        kLowerBlockAdd[kLowerBlockOf[c >> kLowerBlockShift]][c & ((1u << kLowerBlockShift) - 1)]);
}

bool IsHighSurrogate(WCHAR ch) {
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(WCHAR ch) {
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// Lowers the letter written by the pair at `pair`.
void LowerPair(WCHAR* pair) {
    const char32_t code =
        0x10000 + ((static_cast<char32_t>(pair[0]) - 0xD800) << 10) + (pair[1] - 0xDC00);
    auto run = std::upper_bound(std::begin(kLowerSupplementary), std::end(kLowerSupplementary),
                                code, [](char32_t c, const LowerRun& r) { return c < r.first; });
    if (run == std::begin(kLowerSupplementary) || code > (--run)->last)
        return;
    const char32_t lower =
        static_cast<char32_t>(static_cast<std::int32_t>(code) + run->add) - 0x10000;
    pair[0] = static_cast<WCHAR>(0xD800 + (lower >> 10));
    pair[1] = static_cast<WCHAR>(0xDC00 + (lower & 0x3FF));
}

// Lowers text[i], or the pair starting there; returns how many units it took.
DWORD LowerAt(WCHAR* text, DWORD i, bool lowFollows) {
    if (IsHighSurrogate(text[i]) && lowFollows && IsLowSurrogate(text[i + 1])) {
        LowerPair(text + i);
        return 2;
    }
    text[i] = LowerOf(text[i]);
    return 1;
}

} // namespace

bool IsSpaceW(WCHAR ch) {
    const unsigned c = static_cast<unsigned>(ch);
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr)
        return 0;
    for (DWORD i = 0; i < length;) {
        const WCHAR unit = text[i];
        if (unit < 0x80) { // ASCII, the usual text, without the table: only A-Z change
            if (unit >= u'A' && unit <= u'Z')
                text[i] = static_cast<WCHAR>(unit + (u'a' - u'A'));
            ++i;
        } else {
            i += LowerAt(text, i, i + 1 < length);
        }
    }
    return length;
}

LPWSTR CharLowerW(LPWSTR text) {
    if (text == nullptr)
        return nullptr;
    if (IS_INTRESOURCE(text)) // a single character packed into the pointer
        return reinterpret_cast<LPWSTR>(
            static_cast<ULONG_PTR>(LowerOf(static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(text)))));
    for (DWORD i = 0; text[i] != 0;)
        i += LowerAt(text, i, true); // a low surrogate is never the terminating NUL
    return text;
}
