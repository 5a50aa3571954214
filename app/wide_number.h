// Base-10 conversion of wide text, as the C library's wcstol does it, for WCHAR on every host.
#pragma once

#include "platform/platform.h"

// Skips leading white space (IsSpaceW), takes an optional sign and the decimal digits that
// follow, and stops at the first other character. No digit gives 0; values outside the
// signed 32-bit range are clamped to its limits. `end`, when given, receives the position
// after the last character used (the start of the text when no digit was found).
LONG WideToLong(const WCHAR* text, const WCHAR** end = nullptr);
