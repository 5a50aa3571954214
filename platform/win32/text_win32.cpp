// The white-space class on Windows. It is the simulated device's class, code unit for code
// unit, so that trimming gives the same result on every host (the C library's iswspace differs
// between runtimes).
#include "platform/platform.h"

bool IsSpaceW(WCHAR ch) {
    const unsigned c = static_cast<unsigned>(ch);
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}
