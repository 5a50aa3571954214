// Text written as its UTF-16 code units, for tests of letters outside ASCII and of surrogates
// (which no string literal can hold alone).
#pragma once

#include <initializer_list>

#include "platform/platform.h"

inline WString Units(std::initializer_list<unsigned> units) {
    WString text;
    for (unsigned unit : units)
        text.push_back(static_cast<WCHAR>(unit));
    return text;
}
