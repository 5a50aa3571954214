// The profile reads against a registry value of arbitrary type and bytes: no overread, no
// handle left open, and the integer read follows the four-byte rule.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/sim/device.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    sim::Device device;
    const DWORD type = data[0];
    const BYTE* bytes = data + 1;
    const DWORD length = static_cast<DWORD>(size - 1);
    device.registry.Put(HKEY_CURRENT_USER, TEXT("software\\Kipo\\Kipo\\Settings"), TEXT("V"), type,
                        std::vector<BYTE>(bytes, bytes + length));
    CSettingsStore store;
    store.SetRegistryKey(TEXT("Kipo"));
    const int number = store.GetProfileInt(TEXT("Settings"), TEXT("V"), 12345);
    if (length <= 4) {
        std::uint32_t expected = 0;
        std::memcpy(&expected, bytes, length);
        if (number != static_cast<int>(expected))
            std::abort();
    } else if (number != 12345) {
        std::abort();
    }
    const WString text = store.GetProfileString(TEXT("Settings"), TEXT("V"), TEXT("default"));
    if (text.size() > length / 2 || text.find(static_cast<WCHAR>(0)) != WString::npos)
        std::abort();
    if (device.OpenHandles(sim::kProgramProcess) != 0)
        std::abort();
    return 0;
}
