#include "framework/app_name.h"

#include <algorithm>

#include "framework/win_app.h"

WString ModuleBaseName(const WString& path) {
    // Cut at the last "." first, then take what follows the last separator, so the name is the
    // same as the one the settings store derives for the registry key.
    WString stem = path.substr(0, std::min(path.find_last_of(u'.'), path.size()));
    const std::size_t slash = stem.find_last_of(TEXT("\\/:"));
    return slash == WString::npos ? stem : stem.substr(slash + 1);
}

WString AfxModuleFileName() {
    WString buffer(260, u'\0'); // a Windows path limit; longer paths grow the buffer
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            return WString();
        // A full buffer may mean a cut path: try again with a larger one.
        if (length < size - 1 || size >= 32768) {
            buffer.resize(std::min<std::size_t>(length, buffer.size()));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
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
