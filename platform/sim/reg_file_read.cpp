// Loading .reg text. The text is read twice: once to check every line, once to apply it, so
// that a file with a mistake changes nothing, without holding its keys and values twice.
#include "platform/sim/host_file.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/reg_file_lines.h"

namespace sim {

namespace {

const char* const kHeader = "Windows Registry Editor Version 5.00";
const char* const kHeader4 = "REGEDIT4";

bool IsBlank(WCHAR c) {
    return c == u' ' || c == u'\t';
}

int HexDigit(WCHAR c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool StartsWithAt(const WString& text, std::size_t pos, const char16_t* word) {
    return text.compare(pos, std::char_traits<char16_t>::length(word), word) == 0;
}

// Reads one text; with a registry it applies each line as it goes, without one it only checks.
class Parser {
  public:
    Parser(RegLines& lines, RegFileError* error, Registry* target)
        : lines_(lines), error_(error), target_(target) {}

    bool Run() {
        bool any = false;
        while (lines_.Next(&line_)) {
            const std::size_t first = Skip(0);
            if (first < line_.size()) {
                any = true;
                break;
            }
        }
        if (!any)
            return FailFile("empty file: no \"" + std::string(kHeader) + "\" line");
        const std::size_t first = Skip(0);
        const std::string header = ToUtf8(line_.substr(first, End() - first));
        if (header != kHeader && header != kHeader4)
            return Fail(first, "expected \"" + std::string(kHeader) + "\"");
        while (lines_.Next(&line_)) {
            const std::size_t pos = Skip(0);
            if (pos >= End() || line_[pos] == u';')
                continue;
            if (!(line_[pos] == u'[' ? KeyLine(pos) : ValueLine(pos)))
                return false;
        }
        return true;
    }

  private:
    bool FailFile(const std::string& message) {
        *error_ = {0, 0, message};
        return false;
    }

    bool Fail(std::size_t pos, const std::string& message) {
        *error_ = {lines_.Number(), ColumnOf(line_, pos), message};
        return false;
    }

    // The first position at or after `pos` that is not a blank.
    std::size_t Skip(std::size_t pos) const {
        while (pos < line_.size() && IsBlank(line_[pos]))
            ++pos;
        return pos;
    }

    // The end of the line without its trailing blanks.
    std::size_t End() const {
        std::size_t end = line_.size();
        while (end > 0 && IsBlank(line_[end - 1]))
            --end;
        return end;
    }

    bool KeyLine(std::size_t open) {
        const std::size_t end = End();
        if (line_[end - 1] != u']' || end - 1 == open)
            return Fail(end, "a key line must end with \"]\"");
        std::size_t start = open + 1;
        const bool remove = start < end - 1 && line_[start] == u'-';
        if (remove)
            ++start;
        const WString inner = line_.substr(start, end - 1 - start);
        HKEY root = nullptr;
        WString path;
        if (!Registry::SplitRootPath(inner, &root, &path))
            return Fail(start, "unknown root key in " + Shown(inner));
        // Each name within Windows' limits, and no deeper than Windows goes.
        const std::size_t pathStart = start + (inner.size() - path.size());
        int depth = 0;
        for (std::size_t at = 0; at <= path.size();) {
            std::size_t stop = path.find(u'\\', at);
            if (stop == WString::npos)
                stop = path.size();
            if (stop - at > kMaxKeyNameLength)
                return Fail(pathStart + at, "a key name is longer than 255 characters");
            if (stop > at && ++depth > kMaxKeyDepth)
                return Fail(pathStart + at, "the key is more than " + std::to_string(kMaxKeyDepth) +
                                                " levels deep (the registry's limit)");
            at = stop + 1;
        }
        if (remove && depth == 0)
            return Fail(start, "a root key cannot be deleted");
        haveKey_ = true;
        keyDeleted_ = remove;
        root_ = root;
        path_ = std::move(path);
        if (target_ != nullptr) {
            if (remove)
                target_->RemoveKey(root_, path_);
            else
                target_->EnsureKey(root_, path_);
        }
        return true;
    }

    // A quoted string whose opening quote is at `*pos`; *pos ends after the closing quote.
    bool QuotedString(std::size_t* pos, WString* out) {
        out->clear();
        for (std::size_t i = *pos + 1; i < line_.size(); ++i) {
            const WCHAR c = line_[i];
            if (c == u'"') {
                *pos = i + 1;
                return true;
            }
            if (c == u'\\') {
                if (i + 1 >= line_.size())
                    break;
                const WCHAR next = line_[++i];
                if (next != u'\\' && next != u'"')
                    return Fail(i - 1, "unknown escape \"\\" + ToUtf8(WString(1, next)) +
                                           "\" (only \\\\ and \\\" are escapes)");
                out->push_back(next);
            } else {
                out->push_back(c);
            }
        }
        return Fail(*pos, "missing closing quote");
    }

    bool ValueLine(std::size_t start) {
        if (!haveKey_)
            return Fail(start, "a value before any [key] line");
        if (keyDeleted_)
            return Fail(start, "a value under a deleted [-key]");
        WString name;
        std::size_t pos = start;
        if (line_[pos] == u'@') {
            ++pos;
        } else if (line_[pos] == u'"') {
            if (!QuotedString(&pos, &name))
                return false;
            if (name.size() > kMaxValueNameLength)
                return Fail(start, "a value name is longer than 16383 characters");
        } else {
            return Fail(start, "expected a [key], a \"name\"= or @= line");
        }
        pos = Skip(pos);
        if (pos >= line_.size() || line_[pos] != u'=')
            return Fail(pos, "expected \"=\" after the value name");
        pos = Skip(pos + 1);
        const std::size_t end = End();
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
        if (end == pos + 1 && line_[pos] == u'-') {
            if (target_ != nullptr)
                target_->Remove(root_, path_, name);
            return true;
        }
        bool ok = false;
        if (pos < end && line_[pos] == u'"') {
            ok = StringData(pos, &data);
        } else if (StartsWithAt(line_, pos, u"dword:")) {
            type = REG_DWORD;
            ok = DwordData(pos + 6, end, &data);
        } else if (StartsWithAt(line_, pos, u"hex")) {
            ok = HexData(pos, &type, &data);
        } else {
            return Fail(pos, "unknown value data (expected \"text\", dword:, hex: or -)");
        }
        if (ok && target_ != nullptr) {
            data.shrink_to_fit();
            target_->Put(root_, path_, name, type, std::move(data));
        }
        return ok;
    }

    bool StringData(std::size_t pos, std::vector<BYTE>* data) {
        WString text;
        if (!QuotedString(&pos, &text))
            return false;
        if (Skip(pos) < line_.size())
            return Fail(Skip(pos), "unexpected text after the closing quote");
        if (target_ == nullptr)
            return true;
        data->reserve((text.size() + 1) * 2);
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const unsigned unit = i < text.size() ? static_cast<unsigned>(text[i]) : 0u;
            data->push_back(static_cast<BYTE>(unit & 0xFF));
            data->push_back(static_cast<BYTE>(unit >> 8));
        }
        return true;
    }

    bool DwordData(std::size_t pos, std::size_t end, std::vector<BYTE>* data) {
        if (end <= pos || end - pos > 8)
            return Fail(pos, "dword: takes one to eight hex digits");
        DWORD value = 0;
        for (std::size_t i = pos; i < end; ++i) {
            const int d = HexDigit(line_[i]);
            if (d < 0)
                return Fail(i, "dword: takes one to eight hex digits");
            value = (value << 4) | static_cast<DWORD>(d);
        }
        for (int i = 0; i < 4; ++i)
            data->push_back(static_cast<BYTE>(value >> (8 * i)));
        return true;
    }

    // hex: or hex(N): followed by bytes, continued over lines that end with "\".
    bool HexData(std::size_t pos, DWORD* type, std::vector<BYTE>* data) {
        pos += 3;
        *type = REG_BINARY;
        if (pos < line_.size() && line_[pos] == u'(') {
            const std::size_t close = line_.find(u')', pos);
            if (close == WString::npos || close == pos + 1 || close - pos - 1 > 8)
                return Fail(pos, "hex(N): takes one to eight hex digits for the type");
            DWORD value = 0;
            for (std::size_t i = pos + 1; i < close; ++i) {
                const int d = HexDigit(line_[i]);
                if (d < 0)
                    return Fail(i, "hex(N): takes one to eight hex digits for the type");
                value = (value << 4) | static_cast<DWORD>(d);
            }
            *type = value;
            pos = close + 1;
        }
        if (pos >= line_.size() || line_[pos] != u':')
            return Fail(pos, "expected \":\" after hex");
        ++pos;
        while (true) {
            std::size_t end = End();
            const bool more = end > pos && line_[end - 1] == u'\\';
            if (more)
                --end;
            if (!HexBytes(pos, end, data))
                return false;
            if (!more)
                return true;
            if (!lines_.Next(&line_))
                return Fail(end, "the file ends inside a continued hex value");
            pos = 0;
        }
    }

    bool HexBytes(std::size_t pos, std::size_t end, std::vector<BYTE>* out) {
        while (true) {
            while (pos < end && IsBlank(line_[pos]))
                ++pos;
            if (pos >= end)
                return true;
            const int high = HexDigit(line_[pos]);
            const int low = pos + 1 < end ? HexDigit(line_[pos + 1]) : -1;
            if (high < 0 || low < 0)
                return Fail(pos, "expected a byte of two hex digits");
            if (target_ != nullptr)
                out->push_back(static_cast<BYTE>(high * 16 + low));
            pos += 2;
            while (pos < end && IsBlank(line_[pos]))
                ++pos;
            if (pos >= end)
                return true;
            if (line_[pos] != u',')
                return Fail(pos, "expected \",\" between hex bytes");
            ++pos;
        }
    }

    RegLines& lines_;
    RegFileError* error_;
    Registry* target_;
    WString line_;
    bool haveKey_ = false;
    bool keyDeleted_ = false;
    HKEY root_ = nullptr;
    WString path_;
};

bool Parse(const std::string& bytes, RegFileError* error, Registry* target) {
    RegLines lines;
    return lines.Open(bytes, error) && Parser(lines, error, target).Run();
}

// The whole file in one string, or why it cannot be read.
bool ReadWhole(const std::string& path, std::string* bytes, RegFileError* error) {
    std::string why;
    if (ReadHostFile(path, *bytes, why))
        return true;
    *error = {0, 0, "cannot read: " + why};
    return false;
}

} // namespace

std::string RegFileError::Text() const {
    if (line <= 0)
        return message;
    return std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

std::string RegFileError::Describe(const std::string& fileName) const {
    return fileName + ":" + (line > 0 ? "" : " ") + Text();
}

bool LoadRegText(Registry& registry, const std::string& bytes, RegFileError* error) {
    RegFileError scratch;
    RegFileError* err = error != nullptr ? error : &scratch;
    if (!Parse(bytes, err, nullptr))
        return false;
    return Parse(bytes, err, &registry);
}

bool LoadRegFile(Registry& registry, const std::string& path, RegFileError* error) {
    RegFileError scratch;
    RegFileError* err = error != nullptr ? error : &scratch;
    std::string bytes;
    return ReadWhole(path, &bytes, err) && LoadRegText(registry, bytes, err);
}

bool CheckRegFile(const std::string& path, RegFileError* error) {
    RegFileError scratch;
    RegFileError* err = error != nullptr ? error : &scratch;
    std::string bytes;
    return ReadWhole(path, &bytes, err) && Parse(bytes, err, nullptr);
}

} // namespace sim
