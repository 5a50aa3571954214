// Caption text helpers shared by the rule lists, the monitor tick and find-window mode.
#pragma once

#include <string>

#include "platform/platform.h"

// WCHAR is one UTF-16 code unit on every host, so captions compare unit by unit everywhere.
using WString = std::basic_string<WCHAR>;

// The one white-space class used wherever text is trimmed.
bool IsSpaceW(WCHAR c);

// Lower-cases a copy with CharLowerW: the one lower-case mapping of the program.
WString LowerCopy(const WString& text);

// Removes white space (IsSpaceW) from both ends.
WString TrimCopy(const WString& text);

// True when `text` begins with `prefix` (code unit by code unit).
bool BeginsWith(const WString& text, const WString& prefix);

// Plain UTF-8 <-> UTF-16 conversion for tools, tests and traces (unpaired surrogates
// become U+FFFD on the way to UTF-8).
std::string ToUtf8(const WString& text);
WString FromUtf8(const std::string& text);
