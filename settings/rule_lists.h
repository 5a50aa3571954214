// Turning one list text ("Desktop;#WInbox;#bCalendar") into its Bluetooth and WiFi rule lists.
#pragma once

#include "platform/platform.h"
#include "settings/rule_list.h"

// Rebuilds `bluetooth` and `wifi` from `text`: lower-cased with CharLowerW's mapping, trimmed
// of white space (IsSpaceW) at both ends only, split at ";". An entry starting "#b" or "#w"
// (either case) goes to that radio's list without those two characters; any other entry goes
// to WiFi when `defControl` is 1 and to Bluetooth otherwise. Empty entries add nothing.
// Linear in the length of the text.
void BuildRuleLists(const WString& text, LONG defControl, RuleList& bluetooth, RuleList& wifi);
