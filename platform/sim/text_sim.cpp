// The simulated device's lower-case mapping and white-space class. The mapping follows
// Windows for ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic; other code units are
// left as they are.
#include "platform/platform.h"

namespace {

WCHAR LowerOf(WCHAR ch) {
    const unsigned c = static_cast<unsigned>(ch);
    auto pairEvenUpper = [&](unsigned first, unsigned last) {
        return c >= first && c <= last && (c - first) % 2 == 0;
    };
    if (c >= 'A' && c <= 'Z')
        return static_cast<WCHAR>(c + 32);
    if (c < 0xC0)
        return ch;
    if (c <= 0xDE) // Latin-1 capitals, but not the multiplication sign
        return c == 0xD7 ? ch : static_cast<WCHAR>(c + 32);
    if (c < 0x100)
        return ch;
    if (c <= 0x17F) { // Latin Extended-A
        if (c == 0x130) // Windows leaves the capital I with dot above as it is
            return ch;
        if (c == 0x178)
            return static_cast<WCHAR>(0xFF);
        if (pairEvenUpper(0x100, 0x12F) || pairEvenUpper(0x132, 0x137) ||
            pairEvenUpper(0x14A, 0x177))
            return static_cast<WCHAR>(c + 1);
        if ((c >= 0x139 && c <= 0x148 && c % 2 == 1) || (c >= 0x179 && c <= 0x17E && c % 2 == 1))
            return static_cast<WCHAR>(c + 1);
        return ch;
    }
    if (c >= 0x370 && c <= 0x3FF) { // Greek
        if (c == 0x386)
            return static_cast<WCHAR>(0x3AC);
        if (c >= 0x388 && c <= 0x38A)
            return static_cast<WCHAR>(c + 37);
        if (c == 0x38C)
            return static_cast<WCHAR>(0x3CC);
        if (c == 0x38E || c == 0x38F)
            return static_cast<WCHAR>(c + 63);
        if ((c >= 0x391 && c <= 0x3A1) || (c >= 0x3A3 && c <= 0x3AB))
            return static_cast<WCHAR>(c + 32);
        if (pairEvenUpper(0x3D8, 0x3EF) || c == 0x370 || c == 0x372 || c == 0x376 ||
            c == 0x3F7 || c == 0x3FA)
            return static_cast<WCHAR>(c + 1);
        if (c == 0x37F)
            return static_cast<WCHAR>(0x3F3);
        if (c == 0x3CF)
            return static_cast<WCHAR>(0x3D7);
        if (c == 0x3F9)
            return static_cast<WCHAR>(0x3F2);
        if (c >= 0x3FD && c <= 0x3FF)
            return static_cast<WCHAR>(c - 0x82);
        return ch;
    }
    if (c >= 0x400 && c <= 0x52F) { // Cyrillic
        if (c <= 0x40F)
            return static_cast<WCHAR>(c + 80);
        if (c <= 0x42F)
            return static_cast<WCHAR>(c + 32);
        if (pairEvenUpper(0x460, 0x481) || pairEvenUpper(0x48A, 0x4BF) ||
            pairEvenUpper(0x4D0, 0x52F))
            return static_cast<WCHAR>(c + 1);
        if (c == 0x4C0)
            return static_cast<WCHAR>(0x4CF);
        if (c >= 0x4C1 && c <= 0x4CE && c % 2 == 1)
            return static_cast<WCHAR>(c + 1);
        return ch;
    }
    return ch;
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
    for (DWORD i = 0; i < length; ++i)
        text[i] = LowerOf(text[i]);
    return length;
}

LPWSTR CharLowerW(LPWSTR text) {
    if (text == nullptr)
        return nullptr;
    if (IS_INTRESOURCE(text)) // a single character packed into the pointer
        return reinterpret_cast<LPWSTR>(
            static_cast<ULONG_PTR>(LowerOf(static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(text)))));
    for (WCHAR* p = text; *p != 0; ++p)
        *p = LowerOf(*p);
    return text;
}
