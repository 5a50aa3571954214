#include "platform/sim/reg_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace sim {

namespace {

const char* const kHeader = "Windows Registry Editor Version 5.00";
const char* const kHeader4 = "REGEDIT4";

// One change the text asks for; applied only once the whole text has been read.
struct Operation {
    enum Kind { CreateKey, DeleteKey, SetValue, DeleteValue } kind;
    HKEY root;
    WString path;
    WString name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Line {
    WString text;
    int number;
};

bool IsBlank(WCHAR c) {
    return c == u' ' || c == u'\t';
}

WString TrimBlanks(const WString& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
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

bool Decode(const std::string& bytes, WString* text, RegFileError* error) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
        if (bytes.size() % 2 != 0) {
            *error = {0, "UTF-16 text with an odd number of bytes"};
            return false;
        }
        text->clear();
        text->reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text->push_back(static_cast<WCHAR>(byte(i) | (byte(i + 1) << 8)));
        return true;
    }
    if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        *error = {0, "UTF-16 big-endian text is not supported; save as UTF-8 or UTF-16LE"};
        return false;
    }
    const bool bom = bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF;
    *text = FromUtf8(bom ? bytes.substr(3) : bytes);
    return true;
}

std::vector<Line> SplitLines(const WString& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    int number = 1;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        if (end == WString::npos)
            end = text.size();
        WString line = text.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.pop_back();
        lines.push_back({std::move(line), number++});
        start = end + 1;
    }
    return lines;
}

class Parser {
  public:
    Parser(const std::vector<Line>& lines, RegFileError* error) : lines_(lines), error_(error) {}

    bool Run(std::vector<Operation>* operations) {
        ops_ = operations;
        std::size_t i = 0;
        while (i < lines_.size() && TrimBlanks(lines_[i].text).empty())
            ++i;
        if (i == lines_.size())
            return Fail(0, "empty file: no \"" + std::string(kHeader) + "\" line");
        const std::string header = ToUtf8(TrimBlanks(lines_[i].text));
        if (header != kHeader && header != kHeader4)
            return Fail(lines_[i].number, "expected \"" + std::string(kHeader) + "\"");
        for (++i; i < lines_.size(); ++i) {
            const WString text = TrimBlanks(lines_[i].text);
            const int number = lines_[i].number;
            if (text.empty() || text[0] == u';')
                continue;
            const bool ok = text[0] == u'[' ? KeyLine(text, number) : ValueLine(text, &i);
            if (!ok)
                return false;
        }
        return true;
    }

  private:
    bool Fail(int line, const std::string& message) {
        *error_ = {line, message};
        return false;
    }

    bool KeyLine(const WString& text, int number) {
        const std::size_t close = text.rfind(u']');
        if (close == WString::npos || close != text.size() - 1)
            return Fail(number, "a key line must end with \"]\"");
        WString inner = text.substr(1, close - 1);
        const bool remove = !inner.empty() && inner[0] == u'-';
        if (remove)
            inner.erase(0, 1);
        HKEY root = nullptr;
        WString path;
        if (!Registry::SplitRootPath(inner, &root, &path))
            return Fail(number, "unknown root key in \"" + ToUtf8(inner) + "\"");
        for (std::size_t start = 0; start <= path.size();) {
            std::size_t end = path.find(u'\\', start);
            if (end == WString::npos)
                end = path.size();
            if (end - start > 255)
                return Fail(number, "a key name is longer than 255 characters");
            start = end + 1;
        }
        if (remove && path.empty())
            return Fail(number, "a root key cannot be deleted");
        haveKey_ = true;
        keyDeleted_ = remove;
        root_ = root;
        path_ = path;
        ops_->push_back({remove ? Operation::DeleteKey : Operation::CreateKey, root, path, {}});
        return true;
    }

    // A quoted string starting at text[*pos] (the opening quote); *pos ends after the
    // closing quote.
    bool QuotedString(const WString& text, std::size_t* pos, WString* out, int number) {
        out->clear();
        for (std::size_t i = *pos + 1; i < text.size(); ++i) {
            const WCHAR c = text[i];
            if (c == u'"') {
                *pos = i + 1;
                return true;
            }
            if (c == u'\\') {
                if (i + 1 >= text.size())
                    break;
                const WCHAR next = text[++i];
                if (next != u'\\' && next != u'"')
                    return Fail(number, "unknown escape \"\\" + ToUtf8(WString(1, next)) +
                                            "\" (only \\\\ and \\\" are escapes)");
                out->push_back(next);
            } else {
                out->push_back(c);
            }
        }
        return Fail(number, "missing closing quote");
    }

    bool ValueLine(const WString& text, std::size_t* index) {
        const int number = lines_[*index].number;
        if (!haveKey_)
            return Fail(number, "a value before any [key] line");
        if (keyDeleted_)
            return Fail(number, "a value under a deleted [-key]");
        WString name;
        std::size_t pos = 0;
        if (text[0] == u'@') {
            pos = 1;
        } else if (text[0] == u'"') {
            if (!QuotedString(text, &pos, &name, number))
                return false;
        } else {
            return Fail(number, "expected a [key], a \"name\"= or @= line");
        }
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != u'=')
            return Fail(number, "expected \"=\" after the value name");
        const WString data = TrimBlanks(text.substr(pos + 1));
        Operation op{Operation::SetValue, root_, path_, name};
        if (data == u"-") {
            op.kind = Operation::DeleteValue;
        } else if (!data.empty() && data[0] == u'"') {
            if (!StringData(data, &op, number))
                return false;
        } else if (data.compare(0, 6, u"dword:") == 0) {
            if (!DwordData(data.substr(6), &op, number))
                return false;
        } else if (data.compare(0, 3, u"hex") == 0) {
            if (!HexData(data, &op, index))
                return false;
        } else {
            return Fail(number, "unknown value data (expected \"text\", dword:, hex: or -)");
        }
        ops_->push_back(std::move(op));
        return true;
    }

    bool StringData(const WString& data, Operation* op, int number) {
        std::size_t pos = 0;
        WString text;
        if (!QuotedString(data, &pos, &text, number))
            return false;
        if (!TrimBlanks(data.substr(pos)).empty())
            return Fail(number, "unexpected text after the closing quote");
        op->type = REG_SZ;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const unsigned unit = i < text.size() ? static_cast<unsigned>(text[i]) : 0u;
            op->data.push_back(static_cast<BYTE>(unit & 0xFF));
            op->data.push_back(static_cast<BYTE>(unit >> 8));
        }
        return true;
    }

    bool DwordData(const WString& digits, Operation* op, int number) {
        if (digits.empty() || digits.size() > 8)
            return Fail(number, "dword: takes one to eight hex digits");
        DWORD value = 0;
        for (WCHAR c : digits) {
            const int d = HexDigit(c);
            if (d < 0)
                return Fail(number, "dword: takes one to eight hex digits");
            value = (value << 4) | static_cast<DWORD>(d);
        }
        op->type = REG_DWORD;
        for (int i = 0; i < 4; ++i)
            op->data.push_back(static_cast<BYTE>(value >> (8 * i)));
        return true;
    }

    // hex: or hex(N): followed by bytes, continued over lines that end with "\".
    bool HexData(const WString& data, Operation* op, std::size_t* index) {
        const int number = lines_[*index].number;
        std::size_t pos = 3;
        op->type = REG_BINARY;
        if (pos < data.size() && data[pos] == u'(') {
            const std::size_t close = data.find(u')', pos);
            if (close == WString::npos || close == pos + 1 || close - pos - 1 > 8)
                return Fail(number, "hex(N): takes one to eight hex digits for the type");
            DWORD type = 0;
            for (std::size_t i = pos + 1; i < close; ++i) {
                const int d = HexDigit(data[i]);
                if (d < 0)
                    return Fail(number, "hex(N): takes one to eight hex digits for the type");
                type = (type << 4) | static_cast<DWORD>(d);
            }
            op->type = type;
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != u':')
            return Fail(number, "expected \":\" after hex");
        WString bytes = data.substr(pos + 1);
        int lineNumber = number;
        while (true) {
            bytes = TrimBlanks(bytes);
            const bool more = !bytes.empty() && bytes.back() == u'\\';
            if (more)
                bytes.pop_back();
            if (!HexBytes(bytes, &op->data, lineNumber))
                return false;
            if (!more)
                return true;
            if (*index + 1 >= lines_.size())
                return Fail(lineNumber, "the file ends inside a continued hex value");
            ++*index;
            bytes = lines_[*index].text;
            lineNumber = lines_[*index].number;
        }
    }

    bool HexBytes(const WString& text, std::vector<BYTE>* out, int number) {
        std::size_t pos = 0;
        while (true) {
            while (pos < text.size() && IsBlank(text[pos]))
                ++pos;
            if (pos >= text.size())
                return true;
            const int high = HexDigit(text[pos]);
            const int low = pos + 1 < text.size() ? HexDigit(text[pos + 1]) : -1;
            if (high < 0 || low < 0)
                return Fail(number, "expected a byte of two hex digits");
            out->push_back(static_cast<BYTE>(high * 16 + low));
            pos += 2;
            while (pos < text.size() && IsBlank(text[pos]))
                ++pos;
            if (pos >= text.size())
                return true;
            if (text[pos] != u',')
                return Fail(number, "expected \",\" between hex bytes");
            ++pos;
        }
    }

    const std::vector<Line>& lines_;
    RegFileError* error_;
    std::vector<Operation>* ops_ = nullptr;
    bool haveKey_ = false;
    bool keyDeleted_ = false;
    HKEY root_ = nullptr;
    WString path_;
};

void Apply(Registry& registry, const Operation& op) {
    switch (op.kind) {
    case Operation::CreateKey:
        registry.EnsureKey(op.root, op.path);
        break;
    case Operation::DeleteKey:
        registry.RemoveKey(op.root, op.path);
        break;
    case Operation::SetValue:
        registry.Put(op.root, op.path, op.name, op.type, op.data);
        break;
    case Operation::DeleteValue:
        registry.Remove(op.root, op.path, op.name);
        break;
    }
}

// --- Saving ---

bool Representable(const WString& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned c = static_cast<unsigned>(text[i]);
        if (c == u'\r' || c == u'\n')
            return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || static_cast<unsigned>(text[i + 1]) < 0xDC00 ||
                static_cast<unsigned>(text[i + 1]) > 0xDFFF)
                return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::string Quote(const WString& text) {
    std::string out = "\"";
    for (char c : ToUtf8(text)) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

// A REG_SZ that a quoted string gives back exactly: whole code units, one final NUL, no NUL
// before it, and text that survives UTF-8 on one line.
bool AsQuotedString(const RegValue& value, WString* text) {
    const std::vector<BYTE>& d = value.data;
    if (value.type != REG_SZ || d.size() < 2 || d.size() % 2 != 0)
        return false;
    text->clear();
    for (std::size_t i = 0; i + 2 < d.size(); i += 2) {
        const WCHAR unit = static_cast<WCHAR>(d[i] | (d[i + 1] << 8));
        if (unit == 0)
            return false;
        text->push_back(unit);
    }
    return d[d.size() - 2] == 0 && d[d.size() - 1] == 0 && Representable(*text);
}

void WriteValue(const RegValue& value, std::string* out) {
    std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
    WString text;
    char buf[32];
    if (AsQuotedString(value, &text)) {
        *out += line + Quote(text) + "\n";
        return;
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const DWORD v =
            static_cast<DWORD>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                               (static_cast<DWORD>(value.data[3]) << 24));
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(v));
        *out += line + buf + "\n";
        return;
    }
    if (value.type == REG_BINARY) {
        line += "hex:";
    } else {
        std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(value.type));
        line += buf;
    }
    // Wrapped as regedit wraps: lines under 80 columns, continued with "\".
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", value.data[i]);
        line += buf;
        if (i + 1 < value.data.size()) {
            line += ",";
            if (line.size() >= 76) {
                *out += line + "\\\n";
                line = "  ";
            }
        }
    }
    *out += line + "\n";
}

bool WriteKey(const RegKeyNode& node, const std::string& path, bool isRoot, std::string* out,
              std::string* error) {
    if (node.isVolatile)
        return true;
    if (!Representable(node.name)) {
        *error = "key \"" + path + "\": its name cannot be written in a .reg file";
        return false;
    }
    if (!isRoot || !node.values.empty()) {
        *out += "[" + path + "]\n";
        for (const RegValue& value : node.values) {
            if (!Representable(value.name)) {
                *error = "a value of key \"" + path + "\": its name cannot be written";
                return false;
            }
            WriteValue(value, out);
        }
        *out += "\n";
    }
    for (const auto& [folded, child] : node.children)
        if (!WriteKey(*child, path + "\\" + ToUtf8(child->name), false, out, error))
            return false;
    return true;
}

} // namespace

std::string RegFileError::Text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + message : message;
}

bool LoadRegText(Registry& registry, const std::string& bytes, RegFileError* error) {
    RegFileError scratch;
    RegFileError* err = error != nullptr ? error : &scratch;
    WString text;
    if (!Decode(bytes, &text, err))
        return false;
    const std::vector<Line> lines = SplitLines(text);
    std::vector<Operation> operations;
    if (!Parser(lines, err).Run(&operations))
        return false;
    for (const Operation& op : operations)
        Apply(registry, op);
    return true;
}

bool LoadRegFile(Registry& registry, const std::string& path, RegFileError* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error != nullptr)
            *error = {0, "cannot open \"" + path + "\""};
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    return LoadRegText(registry, contents.str(), error);
}

bool SaveRegText(const Registry& registry, std::string* text, std::string* error) {
    std::string scratch;
    std::string* err = error != nullptr ? error : &scratch;
    std::string out = std::string(kHeader) + "\n\n";
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    for (HKEY root : roots)
        if (!WriteKey(*registry.Root(root), ToUtf8(Registry::RootName(root)), true, &out, err))
            return false;
    *text = std::move(out);
    return true;
}

bool SaveRegFile(const Registry& registry, const std::string& path, std::string* error) {
    std::string text;
    if (!SaveRegText(registry, &text, error))
        return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        if (error != nullptr)
            *error = "cannot write \"" + path + "\"";
        return false;
    }
    return true;
}

} // namespace sim
