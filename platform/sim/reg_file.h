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
// HKLM, HKCR, HKU). Saving writes what regedit writes (UTF-16LE with a byte-order mark, CRLF
// line ends), or the same text in UTF-8 on request, and keeps every value's type and bytes
// exactly: what a quoted string or dword: cannot hold is written as hex(N):.
#pragma once

#include <ostream>
#include <string>

#include "platform/sim/registry.h"

namespace sim {

// What is wrong with a .reg text and where. Line and column count from 1 (columns in
// characters); line 0 is the file as a whole (cannot be read, not a .reg text).
struct RegFileError {
    int line = 0;
    int column = 0;
    std::string message;

    // "FILE:LINE:COLUMN: message", the form compilers use, or "FILE: message" for line 0.
    // `fileName` is the path as the user gave it.
    std::string Describe(const std::string& fileName) const;
    // The same without the file name: "LINE:COLUMN: message" or the message alone.
    std::string Text() const;
};

// Adds the text's keys and values to `registry`. The whole text is checked first, so on an
// error nothing is changed and `error` says where.
bool LoadRegText(Registry& registry, const std::string& bytes, RegFileError* error);
// As LoadRegText, from a file; a file that cannot be read says why (line 0).
bool LoadRegFile(Registry& registry, const std::string& path, RegFileError* error);
// Checks a file without loading it anywhere: the error LoadRegFile would give.
bool CheckRegFile(const std::string& path, RegFileError* error);

enum class RegEncoding {
    Utf16, // regedit's own: UTF-16LE with a byte-order mark, CRLF line ends
    Utf8,  // the same lines in UTF-8, no byte-order mark, LF line ends
};

// Every key and value except volatile keys, depth first, keys in name order, values in the
// order they were set, each key's full path once. Written as it goes (nothing but one line is
// built in memory). Fails for a name that the format cannot hold (line breaks, unpaired
// surrogates; checked before anything is written, naming it in `error`) or when the stream
// fails (`error` then says so; what was written stays written).
bool WriteRegText(const Registry& registry, std::ostream& out, RegEncoding encoding,
                  std::string* error);
bool SaveRegText(const Registry& registry, std::string* text, std::string* error,
                 RegEncoding encoding = RegEncoding::Utf8);

// To an open file descriptor (standard output: pass 1 after flushing stdio); on a failed
// write `error` says why ("no space left on the device").
bool WriteRegFd(const Registry& registry, int fd, RegEncoding encoding, std::string* error);

// Saves to `path` without ever damaging a file already there: the text goes to a new file
// beside it, is flushed to the disk, and only then takes the old one's place (keeping its
// permissions). On failure the old file is left byte for byte, the temporary file is removed,
// and `error` says why, without the path ("permission denied", "no space left on the device"):
// the caller names the file as the user gave it.
bool SaveRegFile(const Registry& registry, const std::string& path, RegEncoding encoding,
                 std::string* error);

} // namespace sim
