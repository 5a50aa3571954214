// Windows CE's reading of registry paths, over desktop Windows' registry.
#include "platform/platform.h"

#undef RegOpenKeyExW
#undef RegCreateKeyExW

namespace {

// One leading backslash names the same key as none on Windows CE.
LPCWSTR RelativePath(LPCWSTR subKey) {
    return subKey != nullptr && subKey[0] == L'\\' ? subKey + 1 : subKey;
}

} // namespace

namespace win32 {

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    return ::RegOpenKeyExW(key, RelativePath(subKey), options, access, result);
}

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                     LPDWORD disposition) {
    return ::RegCreateKeyExW(key, RelativePath(subKey), reserved, keyClass, options, access,
                             security, result, disposition);
}

} // namespace win32
