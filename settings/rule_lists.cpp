#include "settings/rule_lists.h"

#include <algorithm>

void BuildRuleLists(const WString& text, LONG defControl, RuleList& bluetooth, RuleList& wifi,
                    RuleListReader* reader) {
    const WString lowered = LowerCopy(text);
    WString t = TrimCopy(lowered);
    // Lower-casing keeps every code unit in place, so offsets into `t` map back to `text`.
    std::size_t lead = 0;
    while (!t.empty() && IsSpaceW(lowered[lead]))
        ++lead;
    const std::size_t trimmedSize = t.size();
    if (!t.empty() && t.back() != u';')
        t.push_back(u';');
    bluetooth.clear();
    wifi.clear();
    RuleList& unprefixed = defControl == 1 ? wifi : bluetooth;
    std::size_t start = 0;
    while (start < t.size()) {
        const std::size_t end = t.find(u';', start);
        // The text ends with ";", so there is always one.
        std::size_t begin = start;
        RuleList* target = &unprefixed;
        // A prefix counts only as the first two characters of the entry; the text is already
        // lower case, so "#W" and "#B" arrive as "#w" and "#b".
        if (end - begin >= 2 && t[begin] == u'#') {
            if (t[begin + 1] == u'w') {
                target = &wifi;
                begin += 2;
            } else if (t[begin + 1] == u'b') {
                target = &bluetooth;
                begin += 2;
            }
        }
        const WString* added = nullptr;
        if (end > begin)
            added = &target->emplace_back(t, begin, end - begin);
        if (reader != nullptr)
            reader->OnPiece(RuleListPiece{lead + start, std::min(end, trimmedSize) - start,
                                          target == &wifi, begin != start, added});
        start = end + 1;
    }
}
