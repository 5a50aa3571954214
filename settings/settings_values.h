// The nine persistent values of the section "Settings": names, registry types and defaults,
// in the one fixed order in which they are always read and written.
#pragma once

#include "platform/platform.h"

// Handed to SetRegistryKey at start-up: the key below HKEY_CURRENT_USER\software.
inline constexpr const WCHAR* RegistryKeyWord = TEXT("Kipo");
// The section every profile operation of the program names.
inline constexpr const WCHAR* SettingsSection = TEXT("Settings");

enum class SettingType { Int, Text };

struct SettingValue {
    const WCHAR* name;
    SettingType type;
    int intDefault;           // for SettingType::Int
    const WCHAR* textDefault; // for SettingType::Text
};

inline constexpr SettingValue DefaultActionValue{TEXT("DefaultAction"), SettingType::Int, 0,
                                                 nullptr};
inline constexpr SettingValue WFDefaultActionValue{TEXT("WFDefaultAction"), SettingType::Int, 0,
                                                   nullptr};
inline constexpr SettingValue OnListValue{TEXT("OnList"), SettingType::Text, 0, TEXT("")};
inline constexpr SettingValue OffListValue{TEXT("OffList"), SettingType::Text, 0, TEXT("HR: ;")};
inline constexpr SettingValue OnRunListValue{TEXT("OnRunList"), SettingType::Text, 0,
                                             TEXT("Internet explorer;")};
inline constexpr SettingValue BTControlValue{TEXT("BTControl"), SettingType::Int, 0, nullptr};
inline constexpr SettingValue DefControlValue{TEXT("DefControl"), SettingType::Int, 0, nullptr};
inline constexpr SettingValue OffTakesPrecedenceValue{TEXT("OffTakesPrecedence"), SettingType::Int,
                                                      0, nullptr};
inline constexpr SettingValue KeepPDAOnValue{TEXT("KeepPDAOn"), SettingType::Int, 0, nullptr};

// The fixed order of every read and every write.
inline constexpr SettingValue SettingValues[] = {
    DefaultActionValue, WFDefaultActionValue,    OnListValue,
    OffListValue,       OnRunListValue,          BTControlValue,
    DefControlValue,    OffTakesPrecedenceValue, KeepPDAOnValue};
inline constexpr int SettingValueCount = sizeof(SettingValues) / sizeof(SettingValues[0]);
static_assert(SettingValueCount == 9);
