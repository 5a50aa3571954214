#include "platform/sim/reg_file_lines.h"

#include <cstring>

namespace sim {

namespace {

constexpr std::size_t kShownLength = 60;

unsigned char ByteAt(const std::string& bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

} // namespace

bool RegLines::Open(const std::string& bytes, RegFileError* error) {
    bytes_ = &bytes;
    done_ = false;
    number_ = 0;
    pos_ = 0;
    utf16_ = bytes.size() >= 2 && ByteAt(bytes, 0) == 0xFF && ByteAt(bytes, 1) == 0xFE;
    if (utf16_) {
        pos_ = 2;
        if (bytes.size() % 2 != 0) {
            *error = {0, 0, "UTF-16 text with an odd number of bytes"};
            return false;
        }
        return true;
    }
    if (bytes.size() >= 2 && ByteAt(bytes, 0) == 0xFE && ByteAt(bytes, 1) == 0xFF) {
        *error = {0, 0, "UTF-16 big-endian text is not supported; save as UTF-8 or UTF-16LE"};
        return false;
    }
    if (bytes.size() >= 3 && ByteAt(bytes, 0) == 0xEF && ByteAt(bytes, 1) == 0xBB &&
        ByteAt(bytes, 2) == 0xBF)
        pos_ = 3;
    return true;
}

bool RegLines::Next(WString* line) {
    if (done_)
        return false;
    const std::string& bytes = *bytes_;
    line->clear();
    if (utf16_) {
        std::size_t i = pos_;
        for (; i + 1 < bytes.size(); i += 2) {
            const WCHAR unit = static_cast<WCHAR>(ByteAt(bytes, i) | (ByteAt(bytes, i + 1) << 8));
            if (unit == u'\n')
                break;
            line->push_back(unit);
        }
        done_ = i + 1 >= bytes.size();
        pos_ = i + 2;
    } else {
        const void* found = pos_ < bytes.size()
                                ? std::memchr(bytes.data() + pos_, '\n', bytes.size() - pos_)
                                : nullptr;
        const std::size_t end =
            found != nullptr
                ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data())
                : bytes.size();
        *line = FromUtf8(bytes.substr(pos_, end - pos_));
        done_ = found == nullptr;
        pos_ = end + 1;
    }
    if (!line->empty() && line->back() == u'\r')
        line->pop_back();
    ++number_;
    return true;
}

int ColumnOf(const WString& line, std::size_t index) {
    int column = 1;
    for (std::size_t i = 0; i < index && i < line.size(); ++i) {
        const bool pairedLow = line[i] >= 0xDC00 && line[i] <= 0xDFFF && i > 0 &&
                               line[i - 1] >= 0xD800 && line[i - 1] <= 0xDBFF;
        column += pairedLow ? 0 : 1;
    }
    return column;
}

std::string Shown(const WString& text) {
    if (text.size() <= kShownLength)
        return "\"" + ToUtf8(text) + "\"";
    std::size_t cut = kShownLength;
    if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) // keep a pair whole
        --cut;
    return "\"" + ToUtf8(text.substr(0, cut)) + "...\"";
}

} // namespace sim
