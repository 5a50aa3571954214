// Every form a .reg file gives a value, as a table shared by the test that saves it on the
// simulated device (tests/device/platform) and the one that imports the saved file with
// Windows' own `reg import` under Wine (tests/wine): both check the same keys and bytes.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace regforms {

// Below HKEY_CURRENT_USER.
inline const WCHAR* const kKey = TEXT("Software\\Kipo reg import test");

struct Form {
    const WCHAR* key; // below kKey; empty for kKey itself
    const WCHAR* name;
    DWORD type;
    std::vector<BYTE> data;
};

inline std::vector<BYTE> Utf16z(const WString& text, int terminators = 1) {
    std::vector<BYTE> bytes;
    for (WCHAR unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    bytes.insert(bytes.end(), static_cast<std::size_t>(2 * terminators), 0);
    return bytes;
}

inline std::vector<Form> Forms() {
    std::vector<BYTE> binary(100);
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<BYTE>(i * 7);
    WString multi = TEXT("first");
    multi.push_back(0);
    multi += TEXT("second");
    multi.push_back(0);
    return {
        {TEXT(""), TEXT("OnList"), REG_SZ, Utf16z(TEXT("#wInternet Explorer;#bPhone"))},
        {TEXT(""), TEXT("Escapes"), REG_SZ, Utf16z(TEXT("C:\\Temp \"quoted\" ;#"))},
        {TEXT(""), TEXT("Unicode"), REG_SZ,
         Utf16z(WString{0x0416, 0x00E9, 0x4E2D, 0xD83D, 0xDE00})},
        {TEXT(""), TEXT(""), REG_SZ, Utf16z(TEXT("the default value"))},
        {TEXT(""), TEXT("Empty"), REG_SZ, Utf16z(TEXT(""))},
        {TEXT(""), TEXT("Name \"with\" \\ quotes"), REG_DWORD, {1, 0, 0, 0}},
        {TEXT(""), TEXT("KeepPDAOn"), REG_DWORD, {0x01, 0x00, 0x00, 0x80}},
        {TEXT(""), TEXT("Binary"), REG_BINARY, binary},
        {TEXT(""), TEXT("EmptyBinary"), REG_BINARY, {}},
        {TEXT(""), TEXT("Multi"), REG_MULTI_SZ, Utf16z(multi)},
        {TEXT(""), TEXT("Expand"), REG_EXPAND_SZ, Utf16z(TEXT("%TEMP%\\kipo"))},
        {TEXT(""), TEXT("NoTerminator"), REG_SZ, {'a', 0, 'b', 0}},
        {TEXT(""), TEXT("Qword"), 11, {1, 2, 3, 4, 5, 6, 7, 8}},
        {TEXT("Deep\\Er\\Est"), TEXT("Level"), REG_DWORD, {3, 0, 0, 0}},
        {TEXT("\x00C9t\x00E9"), TEXT("Accented key"), REG_SZ, Utf16z(TEXT("yes"))},
    };
}

// A key with no values, which the file must still create.
inline const WCHAR* const kEmptyKey = TEXT("Empty key");

} // namespace regforms
