#include "framework/app_name.h"

#include <algorithm>

#include "framework/win_app.h"

WString ModuleBaseName(const WString& path) {
    // Cut at the last "." first, then take what follows the last separator: the one name of
    // captions, window classes and the registry key.
    WString stem = path.substr(0, std::min(path.find_last_of(u'.'), path.size()));
    const std::size_t slash = stem.find_last_of(TEXT("\\/:"));
    return slash == WString::npos ? stem : stem.substr(slash + 1);
}

WString AfxModuleFileName() {
    // A path that does not fit comes back cut, as long as the buffer (its last character a NUL
    // on current Windows): grow the buffer up to the longest path Windows has, then keep the cut
    // without that last character. A path of size - 1 characters fits.
    constexpr std::size_t kLongestPath = 32768;
    WString buffer(260, u'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            return WString();
        if (length < size || buffer.size() >= kLongestPath) {
            buffer.resize(std::min<std::size_t>(length, size - 1));
            return buffer;
        }
        buffer.resize(std::min(buffer.size() * 2, kLongestPath));
    }
}

WString AfxAppName() {
    if (CWinApp* app = AfxGetApp(); app != nullptr)
        return app->m_pszAppName;
    return ModuleBaseName(AfxModuleFileName());
}

HINSTANCE AfxGetInstanceHandle() {
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_hInstance != nullptr)
        return app->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}
