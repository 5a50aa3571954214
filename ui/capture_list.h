// Find-window captures and the list texts they go into: the duplicate test and the append rule.
#pragma once

#include "platform/text.h"

// True when an entry of `listText` (entries separated by ";", compared as they stand, letter
// case aside) begins `caption`. Empty entries are skipped: a doubled ";" must not make a list
// refuse every capture.
bool ListCoversCaption(const WString& listText, const WString& caption);

// `listText` without trailing white space, a ";" when it is not empty and does not end with
// one, then `caption` as it stands.
WString AppendCaption(const WString& listText, const WString& caption);
