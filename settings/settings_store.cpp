#include "settings/settings_store.h"

#include "framework/app_name.h"

#include <string>
#include <vector>

namespace {

// Every key of the path is opened or created with these rights, non-volatile, no class.
constexpr REGSAM kAccess = KEY_WRITE | KEY_READ;
const WCHAR* const kSoftware = TEXT("software");

// The handle is taken only on success: a failed call promises nothing about *result.
LONG OpenKey(HKEY parent, LPCWSTR name, RegKey* key) {
    HKEY handle = nullptr;
    const LONG status = RegOpenKeyExW(parent, name, 0, kAccess, &handle);
    key->Reset(status == ERROR_SUCCESS ? handle : nullptr);
    return status;
}

LONG CreateKey(HKEY parent, LPCWSTR name, RegKey* key) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                                        nullptr, &handle, &disposition);
    key->Reset(status == ERROR_SUCCESS ? handle : nullptr);
    return status;
}

} // namespace

void CSettingsStore::SetRegistryKey(LPCWSTR keyWord) {
    keyWord_ = keyWord == nullptr ? WString() : WString(keyWord);
    profileName_ = ModuleBaseName(AfxModuleFileName());
}

void CSettingsStore::SetRegistryKey(LPCWSTR keyWord, const WString& appName) {
    keyWord_ = keyWord == nullptr ? WString() : WString(keyWord);
    profileName_ = appName;
}

RegKey CSettingsStore::GetAppRegistryKey() {
    RegKey software;
    // Make sure "software" exists; this first handle is closed at once.
    if (OpenKey(HKEY_CURRENT_USER, kSoftware, &software) != ERROR_SUCCESS)
        CreateKey(HKEY_CURRENT_USER, kSoftware, &software);
    software.Close();

    RegKey app;
    RegKey company;
    if (OpenKey(HKEY_CURRENT_USER, kSoftware, &software) == ERROR_SUCCESS &&
        CreateKey(software.Get(), keyWord_.c_str(), &company) == ERROR_SUCCESS)
        CreateKey(company.Get(), profileName_.c_str(), &app);
    software.Close();
    company.Close();
    return app;
}

RegKey CSettingsStore::GetSectionKey(LPCWSTR section) {
    RegKey sectionKey;
    {
        RegKey app = GetAppRegistryKey();
        if (!app)
            return RegKey();
        if (CreateKey(app.Get(), section, &sectionKey) != ERROR_SUCCESS)
            return RegKey();
    }
    return sectionKey;
}

int CSettingsStore::GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD type = 0;
    DWORD size = sizeof data;
    LONG status;
    {
        RegKey key = GetSectionKey(section);
        if (!key)
            return defaultValue;
        status = RegQueryValueExW(key.Get(), entry, nullptr, &type, data, &size);
    }
    if (status != ERROR_SUCCESS)
        return defaultValue;
    // Bytes past `size` are still the zeros they started as.
    const DWORD value = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
                        (static_cast<DWORD>(data[2]) << 16) | (static_cast<DWORD>(data[3]) << 24);
    return static_cast<int>(value);
}

WString CSettingsStore::GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue) {
    const WString fallback = defaultValue == nullptr ? WString() : WString(defaultValue);
    std::vector<WCHAR> buffer;
    DWORD size = 0;
    {
        RegKey key = GetSectionKey(section);
        if (!key)
            return fallback;
        DWORD type = 0;
        if (RegQueryValueExW(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return fallback;
        // size / 2 characters plus a terminator: room for every byte, an odd one included.
        // One more character of slack: desktop Windows may write a NUL just past string data
        // that lacks one, and for a value of one byte it does so beyond the size offered.
        buffer.assign(size / 2 + 2, 0);
        if (RegQueryValueExW(key.Get(), entry, nullptr, &type,
                             reinterpret_cast<LPBYTE>(buffer.data()), &size) != ERROR_SUCCESS)
            return fallback;
    }
    // Only whole code units that the second query delivered, up to the first NUL.
    std::size_t length = 0;
    const std::size_t units = size / 2;
    while (length < units && buffer[length] != 0)
        ++length;
    return WString(buffer.data(), length);
}

BOOL CSettingsStore::WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value) {
    RegKey key = GetSectionKey(section);
    if (!key)
        return FALSE;
    const DWORD bits = static_cast<DWORD>(value);
    const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                          static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    return RegSetValueExW(key.Get(), entry, 0, REG_DWORD, data, sizeof data) == ERROR_SUCCESS;
}

BOOL CSettingsStore::WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value) {
    if (value == nullptr)
        return FALSE;
    const std::size_t length = std::char_traits<WCHAR>::length(value);
    if (length >= 0x7FFFFFFF / sizeof(WCHAR))
        return FALSE;
    RegKey key = GetSectionKey(section);
    if (!key)
        return FALSE;
    const DWORD bytes = static_cast<DWORD>((length + 1) * sizeof(WCHAR));
    return RegSetValueExW(key.Get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          bytes) == ERROR_SUCCESS;
}
