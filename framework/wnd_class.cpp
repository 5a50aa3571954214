#include "framework/wnd_class.h"

#include "framework/app_name.h"
#include "framework/wnd.h"

namespace {

void AppendHex(WString& out, ULONG_PTR value) {
    static const char digits[] = "0123456789abcdef";
    WCHAR buf[2 * sizeof(ULONG_PTR)];
    int n = 0;
    do {
        buf[n++] = static_cast<WCHAR>(digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (n > 0)
        out.push_back(buf[--n]);
}

} // namespace

WString AfxWndClassName(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    WString name = TEXT("Afx:");
    name += AfxAppName();
    for (ULONG_PTR part :
         {static_cast<ULONG_PTR>(classStyle), reinterpret_cast<ULONG_PTR>(cursor),
          reinterpret_cast<ULONG_PTR>(background), reinterpret_cast<ULONG_PTR>(icon)}) {
        name.push_back(u':');
        AppendHex(name, part);
    }
    return name;
}

WString AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    WString name = AfxWndClassName(classStyle, cursor, background, icon);
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW existing = {};
    if (::GetClassInfoW(instance, name.c_str(), &existing))
        return name;
    WNDCLASSW wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::WindowProcTrampoline;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name.c_str();
    if (!::RegisterClassW(&wc))
        return WString();
    return name;
}
