#include "platform/model/io_control_log.h"

#include <algorithm>

namespace model {

namespace {

std::vector<BYTE> Keep(const void* buffer, DWORD size) {
    if (buffer == nullptr)
        return {};
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    return std::vector<BYTE>(bytes, bytes + std::min(size, IoControlLog::kKeptBytes));
}

} // namespace

std::size_t IoControlLog::Begin(DWORD code, const void* in, DWORD inSize, const void* out,
                                DWORD outSize, const DWORD* bytesReturned, std::uint64_t now) {
    IoControlRecord record;
    record.code = code;
    record.hasIn = in != nullptr;
    record.in = Keep(in, inSize);
    record.inSize = inSize;
    record.hasOut = out != nullptr;
    record.outBefore = Keep(out, outSize);
    record.outSize = outSize;
    record.hasBytesReturned = bytesReturned != nullptr;
    record.bytesReturnedBefore = bytesReturned != nullptr ? *bytesReturned : 0;
    record.time = now;
    if (records_.size() == kKeptRecords) {
        records_.pop_front();
        ++first_;
    }
    records_.push_back(std::move(record));
    return static_cast<std::size_t>(Total() - 1);
}

void IoControlLog::Finish(std::size_t index, const void* out, const DWORD* bytesReturned,
                          BOOL result, DWORD error) {
    if (index < first_ || index >= Total())
        return;
    IoControlRecord& record = records_[static_cast<std::size_t>(index - first_)];
    record.outAfter = Keep(out, record.outSize);
    record.bytesReturnedAfter = bytesReturned != nullptr ? *bytesReturned : 0;
    record.result = result;
    record.error = error;
}

DWORD IoControlLog::FirstDword(const std::vector<BYTE>& bytes) {
    if (bytes.size() < 4)
        return 0;
    return static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) |
           (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
}

} // namespace model
