// Turning fuzzer bytes into the program's inputs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/text.h"

// The bytes as UTF-16 code units (little-endian pairs; an odd last byte is dropped), so every
// code unit, unpaired surrogates and NUL included, can reach the code under test.
inline WString WideFromBytes(const std::uint8_t* data, std::size_t size) {
    WString text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<WCHAR>(data[i] | (data[i + 1] << 8)));
    return text;
}
