// The program's persistent settings: profile values in
// HKEY_CURRENT_USER\software\<key word>\<application name>\<section>, reached through the
// Win32 registry calls. Every operation walks the whole path from HKEY_CURRENT_USER and closes
// every key before it returns: nothing is held or cached between calls, so another program's
// change is seen by the next read.
#pragma once

#include "platform/platform.h"
#include "settings/reg_key.h"

class CSettingsStore {
  public:
    // Records the key word and takes the application name from the running executable's
    // path: cut at the last ".", then what follows the last "\", "/" or ":".
    void SetRegistryKey(LPCWSTR keyWord);
    // The same with the application name already known (the running application's, so the
    // module path is read once at start-up).
    void SetRegistryKey(LPCWSTR keyWord, const WString& appName);

    // An open key of software\<key word>\<application name>, created as needed; empty on
    // failure. The caller's RegKey closes it.
    RegKey GetAppRegistryKey();
    // An open key of the section below the application key, created as needed; or empty.
    RegKey GetSectionKey(LPCWSTR section);

    // The four bytes of the value as a little-endian integer, whatever its type. Data shorter
    // than four bytes is zero-extended (one byte 0x41 reads as 0x41, no bytes read as 0);
    // longer data, a missing value or an unreachable key give `defaultValue`.
    int GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue);
    // The value's data as UTF-16 text up to its first NUL, whatever its type; an odd last
    // byte (half a code unit) is dropped. A missing value or unreachable key give
    // `defaultValue` (null reads as empty).
    WString GetProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR defaultValue);
    // REG_DWORD with the value's four bytes. Nonzero on success.
    BOOL WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);
    // REG_SZ with the text and one terminating NUL. Nonzero on success; a null text fails.
    BOOL WriteProfileString(LPCWSTR section, LPCWSTR entry, LPCWSTR value);

    const WString& RegistryKeyWord() const { return keyWord_; }
    const WString& ProfileName() const { return profileName_; }

  private:
    WString keyWord_;
    WString profileName_;
};
