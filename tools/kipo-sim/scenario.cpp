#include "tools/kipo-sim/scenario.h"

namespace kiposim {

DWORD RegData::RegType() const {
    switch (kind) {
    case Kind::Dword:
        return REG_DWORD;
    case Kind::Sz:
        return REG_SZ;
    case Kind::Binary:
        return REG_BINARY;
    case Kind::Absent:
        break;
    }
    return REG_NONE;
}

std::vector<std::uint8_t> RegData::Bytes() const {
    std::vector<std::uint8_t> out;
    switch (kind) {
    case Kind::Dword:
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(dword >> (8 * i)));
        break;
    case Kind::Sz:
        // Little-endian UTF-16 with the terminating NUL, as regedit stores a string.
        for (WCHAR c : text) {
            out.push_back(static_cast<std::uint8_t>(c & 0xFF));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        out.push_back(0);
        out.push_back(0);
        break;
    case Kind::Binary:
        out = bytes;
        break;
    case Kind::Absent:
        break;
    }
    return out;
}

} // namespace kiposim
