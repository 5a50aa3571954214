// Libraries a process can load by name. The core library "coredll.dll" is the only one, and
// its export the program looks up is "UnregisterFunc1"; a device setting can leave it out, as
// on a build of Windows CE without it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace sim {

// What a module path names after its last backslash or slash: the whole path when it has none.
WString FileNamePart(const WString& path);

class Libraries {
  public:
    // The module a name loads ("coredll.dll", "coredll", "\Windows\coredll.dll", any letter
    // case), or null when no such library is on the device.
    static HMODULE ModuleNamed(const WString& name);
    static HMODULE CoreLibrary();

    // Reference counts per process; each load is one open library handle of that process.
    void Load(HMODULE module, int process);
    bool Free(HMODULE module, int process);
    int References(HMODULE module, int process) const;

    // The address of an export by name; null when the module has no such export.
    FARPROC Export(HMODULE module, const std::string& name) const;
    // Device setting: the core library without this export (or with it again).
    void SetExportMissing(const std::string& name, bool missing);

  private:
    std::map<std::pair<int, HMODULE>, int> references_;
    std::set<std::string> missing_;
};

} // namespace sim
