// Win32 base types and common constants, with Win32's sizes on an LP64 host.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using BOOL = std::int32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using CHAR = char;
using WCHAR = char16_t;
using TCHAR = WCHAR;
using ATOM = WORD;
using UINT_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using REGSAM = DWORD;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using LPSTR = CHAR*;
using LPCSTR = const CHAR*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPTSTR = WCHAR*;
using LPCTSTR = const WCHAR*;

#define DECLARE_KIPO_HANDLE(name)                                                                  \
    struct name##__ {                                                                              \
        int unused;                                                                                \
    };                                                                                             \
    using name = name##__*
DECLARE_KIPO_HANDLE(HWND);
DECLARE_KIPO_HANDLE(HKEY);
DECLARE_KIPO_HANDLE(HMENU);
DECLARE_KIPO_HANDLE(HICON);
DECLARE_KIPO_HANDLE(HINSTANCE);
DECLARE_KIPO_HANDLE(HBRUSH);
DECLARE_KIPO_HANDLE(HDC);
#undef DECLARE_KIPO_HANDLE
using HANDLE = void*;
using HMODULE = HINSTANCE;
using HCURSOR = HICON;
using PHKEY = HKEY*;
using FARPROC = LONG_PTR (*)();

#define TRUE 1
#define FALSE 0
#define CALLBACK
#define WINAPI
#define TEXT(quote) u##quote
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define MAKELONG(a, b)                                                                             \
    (static_cast<LONG>((static_cast<WORD>(a)) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))

struct RECT {
    LONG left, top, right, bottom;
};
using LPRECT = RECT*;
struct POINT {
    LONG x, y;
};
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

#define INFINITE 0xFFFFFFFFu
