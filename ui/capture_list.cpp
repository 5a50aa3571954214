#include "ui/capture_list.h"

bool ListCoversCaption(const WString& listText, const WString& caption) {
    const WString folded = LowerCopy(caption);
    const WString list = LowerCopy(listText);
    std::size_t start = 0;
    for (;;) {
        const std::size_t separator = list.find(u';', start);
        const std::size_t end = separator == WString::npos ? list.size() : separator;
        if (end > start && folded.compare(0, end - start, list, start, end - start) == 0 &&
            folded.size() >= end - start)
            return true;
        if (separator == WString::npos)
            return false;
        start = separator + 1;
    }
}

WString AppendCaption(const WString& listText, const WString& caption) {
    WString text = listText;
    while (!text.empty() && IsSpaceW(text.back()))
        text.pop_back();
    if (!text.empty() && text.back() != u';')
        text.push_back(u';');
    text += caption;
    return text;
}
