// The find-window duplicate test and append on arbitrary list text and captions. The first
// byte splits the rest into list text and caption. Checked: the appended text ends with the
// caption and keeps the list before it (trailing blanks aside, one ";" between); the duplicate
// test agrees with a reference that splits the list itself; a list covering a caption covers
// every longer caption it begins; and an appended caption with no ";" of its own is covered.
#include <cstdlib>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "platform/sim/device.h"
#include "ui/capture_list.h"

namespace {

bool ReferenceCovers(const WString& listText, const WString& caption) {
    std::vector<WString> entries(1);
    for (WCHAR c : listText) {
        if (c == u';')
            entries.emplace_back();
        else
            entries.back().push_back(c);
    }
    const WString folded = LowerCopy(caption);
    for (const WString& entry : entries) {
        if (!entry.empty() && BeginsWith(folded, LowerCopy(entry)))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    sim::Device device;
    const WString all = WideFromBytes(data + 1, size - 1);
    const std::size_t split = all.empty() ? 0 : data[0] % (all.size() + 1);
    const WString list = all.substr(0, split);
    const WString caption = all.substr(split);

    const WString appended = AppendCaption(list, caption);
    if (appended.size() < caption.size() ||
        appended.compare(appended.size() - caption.size(), caption.size(), caption) != 0)
        std::abort();
    WString kept = list;
    while (!kept.empty() && IsSpaceW(kept.back()))
        kept.pop_back();
    WString before = appended.substr(0, appended.size() - caption.size());
    if (!kept.empty() && kept.back() != u';') {
        if (before.empty() || before.back() != u';')
            std::abort();
        before.pop_back();
    }
    if (before != kept)
        std::abort();

    const bool covers = ListCoversCaption(list, caption);
    if (covers != ReferenceCovers(list, caption))
        std::abort();
    if (covers && !ListCoversCaption(list, caption + u"x"))
        std::abort();
    if (!caption.empty() && caption.find(u';') == WString::npos &&
        !ListCoversCaption(appended, caption))
        std::abort();
    return 0;
}
