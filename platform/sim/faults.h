// Failures a test or a scenario asks of the simulated device, one switch per operation. A
// fresh device has none; each stays on until it is switched off.
#pragma once

namespace sim {

struct Faults {
    bool registryOpen = false;   // RegOpenKeyExW fails with ERROR_ACCESS_DENIED
    bool registryCreate = false; // RegCreateKeyExW fails with ERROR_ACCESS_DENIED
    bool registryWrite = false;  // RegSetValueExW fails with ERROR_ACCESS_DENIED
    bool createEvent = false;    // CreateEventW returns NULL (ERROR_NOT_ENOUGH_MEMORY)
    bool notifyIcon = false;     // Shell_NotifyIcon returns FALSE (ERROR_NOT_ENOUGH_MEMORY)
    // CreateWindowExW of a top-level window (not a dialog, not a child) returns NULL: a frame
    // window that cannot be created.
    bool createTopLevel = false;
    // DialogBoxParamW and DialogBoxIndirectParamW return -1 without showing anything.
    bool modalRun = false;
    bool loadMenu = false; // LoadMenuW returns NULL (ERROR_NOT_ENOUGH_MEMORY)
};

} // namespace sim
