// The lines of a .reg text, decoded one at a time from its bytes (UTF-16LE with a byte-order
// mark, or UTF-8 with or without one), so that reading a large file never holds more than the
// file's bytes and one decoded line.
#pragma once

#include <string>

#include "platform/sim/reg_file.h"

namespace sim {

class RegLines {
  public:
    // `bytes` must outlive the reader. False (with `error` set, line 0) for text that is not a
    // .reg file's encoding.
    bool Open(const std::string& bytes, RegFileError* error);

    // The next line without its line end; false after the last one.
    bool Next(WString* line);
    // The line Next last gave, from 1.
    int Number() const { return number_; }

  private:
    const std::string* bytes_ = nullptr;
    bool utf16_ = false;
    bool done_ = false;
    std::size_t pos_ = 0;
    int number_ = 0;
};

// The column (from 1, in characters: a surrogate pair is one) of the code unit at `index`.
int ColumnOf(const WString& line, std::size_t index);

// A name or text for a message: in quotes, cut short with "..." when long, so that an error
// about a 10 MB line stays one readable line.
std::string Shown(const WString& text);

} // namespace sim
