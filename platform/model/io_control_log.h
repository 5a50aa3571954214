// Every kernel I/O control the handheld received: code, buffers as the caller passed them,
// what came back. Buffers are kept up to kKeptBytes, enough for the controls programs make.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace model {

struct IoControlRecord {
    DWORD code = 0;
    bool hasIn = false;
    std::vector<BYTE> in; // input bytes
    DWORD inSize = 0;
    bool hasOut = false;
    std::vector<BYTE> outBefore; // output buffer before the call
    std::vector<BYTE> outAfter;  // and after it
    DWORD outSize = 0;
    bool hasBytesReturned = false;
    DWORD bytesReturnedBefore = 0;
    DWORD bytesReturnedAfter = 0;
    BOOL result = FALSE;
    DWORD error = 0;
    std::uint64_t time = 0;
};

class IoControlLog {
  public:
    static constexpr DWORD kKeptBytes = 64;

    // Notes the call before it is answered and returns its index; Finish completes it.
    std::size_t Begin(DWORD code, const void* in, DWORD inSize, const void* out, DWORD outSize,
                      const DWORD* bytesReturned, std::uint64_t now);
    void Finish(std::size_t index, const void* out, const DWORD* bytesReturned, BOOL result,
                DWORD error);

    const std::vector<IoControlRecord>& Records() const { return records_; }
    void Clear() { records_.clear(); }

    // The leading 32-bit value of a kept buffer (little-endian), or 0 when it is shorter.
    static DWORD FirstDword(const std::vector<BYTE>& bytes);

  private:
    std::vector<IoControlRecord> records_;
};

} // namespace model
