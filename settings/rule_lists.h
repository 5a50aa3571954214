// Turning one list text ("Desktop;#WInbox;#bCalendar") into its Bluetooth and WiFi rule lists.
#pragma once

#include <cstddef>

#include "platform/platform.h"
#include "settings/rule_list.h"

// One piece of a list text between separators, as the builder read it: for tools that explain
// a user's lists in the user's own text (kipo-sim check), so they need no copy of the rules.
struct RuleListPiece {
    std::size_t offset;   // where the piece (prefix included) starts in the text as stored
    std::size_t length;   // its length there, up to its ";" or the trimmed end of the text
    bool wifi;            // the list it went to (or would have gone to, when it added nothing)
    bool prefixed;        // it began with "#b" or "#w" (either case), which was removed
    const WString* entry; // the entry appended (lower case), valid during the call; or null
};

class RuleListReader {
  public:
    virtual ~RuleListReader() = default;
    virtual void OnPiece(const RuleListPiece& piece) = 0;
};

// Rebuilds `bluetooth` and `wifi` from `text`: lower-cased with CharLowerW's mapping, trimmed
// of white space (IsSpaceW) at both ends only, split at ";". An entry starting "#b" or "#w"
// (either case) goes to that radio's list without those two characters; any other entry goes
// to WiFi when `defControl` is 1 and to Bluetooth otherwise. Empty entries add nothing.
// `reader`, when given, hears every piece in order. Linear in the length of the text.
void BuildRuleLists(const WString& text, LONG defControl, RuleList& bluetooth, RuleList& wifi,
                    RuleListReader* reader = nullptr);
