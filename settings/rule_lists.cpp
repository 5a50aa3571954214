#include "settings/rule_lists.h"

void BuildRuleLists(const WString& text, LONG defControl, RuleList& bluetooth, RuleList& wifi) {
    WString t = TrimCopy(LowerCopy(text));
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
        if (end > begin)
            target->emplace_back(t, begin, end - begin);
        start = end + 1;
    }
}
