// The simulated registry as `.reg` text, the format regedit writes:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\software\Kipo\Kipo\Settings]
//   "OffList"="HR: ;"
//   @="the default value"
//   "KeepPDAOn"=dword:00000001
//   "Blob"=hex:01,02,03      (long ones continue on the next line after a backslash)
//   "Typed"=hex(7):41,00,00,00,00,00
//   "Gone"=-
//   [-HKEY_LOCAL_MACHINE\SOFTWARE\Widcomm]
//
// Strings escape only \ and ", as regedit does. Loading takes UTF-8 (with or without BOM) or
// UTF-16LE with BOM, also the "REGEDIT4" header, ";" comment lines and short root names (HKCU,
// HKLM, HKCR, HKU). Saving writes UTF-8 and keeps every value's type and bytes exactly:
// what a quoted string or dword: cannot hold is written as hex(N):.
#pragma once

#include <string>

#include "platform/sim/registry.h"

namespace sim {

struct RegFileError {
    int line = 0; // 0: the file as a whole (cannot be read, not a .reg text)
    std::string message;

    // "line N: message", or the message alone for line 0.
    std::string Text() const;
};

// Adds the text's keys and values to `registry`. The whole text is checked first, so on an
// error nothing is changed and `error` names the line.
bool LoadRegText(Registry& registry, const std::string& bytes, RegFileError* error);
bool LoadRegFile(Registry& registry, const std::string& path, RegFileError* error);

// Every key and value except volatile keys, depth first, keys in name order, values in the
// order they were set. Fails only for a name that the format cannot hold (line breaks,
// unpaired surrogates), naming it in `error`.
bool SaveRegText(const Registry& registry, std::string* text, std::string* error);
bool SaveRegFile(const Registry& registry, const std::string& path, std::string* error);

} // namespace sim
