// The rule-list builder on arbitrary text: every entry must be non-empty and already lower
// case, and no entry may be longer than the text.
#include <cstdlib>

#include "fuzz/fuzz_input.h"
#include "platform/sim/device.h"
#include "settings/rule_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::Device device;
    if (size < 1)
        return 0;
    const LONG defControl = static_cast<LONG>(data[0] % 4) - 1;
    const WString text = WideFromBytes(data + 1, size - 1);
    RuleList bluetooth, wifi;
    BuildRuleLists(text, defControl, bluetooth, wifi);
    for (const RuleList* list : {&bluetooth, &wifi}) {
        for (const WString& entry : *list) {
            if (entry.empty() || entry.size() > text.size() || LowerCopy(entry) != entry)
                std::abort();
        }
    }
    return 0;
}
