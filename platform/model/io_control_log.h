// The kernel I/O controls the handheld received: code, buffers as the caller passed them,
// what came back. Buffers are kept up to kKeptBytes, enough for the controls programs make;
// only the last kKeptRecords calls are kept (a program that wakes an absent adapter every
// tick makes thousands an hour), with the count of all of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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
    static constexpr std::size_t kKeptRecords = 256;

    // Notes the call before it is answered and returns its number; Finish completes it (a
    // call no longer kept is left alone).
    std::size_t Begin(DWORD code, const void* in, DWORD inSize, const void* out, DWORD outSize,
                      const DWORD* bytesReturned, std::uint64_t now);
    void Finish(std::size_t index, const void* out, const DWORD* bytesReturned, BOOL result,
                DWORD error);

    // The last calls, oldest first.
    const std::deque<IoControlRecord>& Records() const { return records_; }
    // Every call since boot (or since Clear), kept or not.
    std::uint64_t Total() const { return first_ + records_.size(); }
    void Clear() {
        records_.clear();
        first_ = 0;
    }

    // The leading 32-bit value of a kept buffer (little-endian), or 0 when it is shorter.
    static DWORD FirstDword(const std::vector<BYTE>& bytes);

  private:
    std::deque<IoControlRecord> records_;
    std::uint64_t first_ = 0; // number of records_.front()
};

} // namespace model
