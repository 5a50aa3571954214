// Whether two texts hold the same UTF-16 units. WString's own == compares unit by unit in a
// loop; the looks kipo-sim takes at every tick compare with one memcmp instead.
#pragma once

#include <cstring>

#include "platform/text.h"

namespace kiposim {

inline bool SameUnits(const WString& a, const WString& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(WString::value_type)) == 0;
}

} // namespace kiposim
