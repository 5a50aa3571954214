// Writing .reg text as regedit does, one line at a time straight to the stream.
#include <cstdio>

#include "platform/sim/reg_file.h"

namespace sim {

namespace {

const WCHAR* const kHeader = u"Windows Registry Editor Version 5.00";
const HKEY kRoots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
// regedit keeps hex lines under 80 columns, continued with "\".
constexpr std::size_t kHexWrap = 76;

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

void AppendQuoted(const WString& text, WString* out) {
    out->push_back(u'"');
    for (WCHAR c : text) {
        if (c == u'\\' || c == u'"')
            out->push_back(u'\\');
        out->push_back(c);
    }
    out->push_back(u'"');
}

void AppendAscii(const char* text, WString* out) {
    for (; *text != 0; ++text)
        out->push_back(static_cast<WCHAR>(*text));
}

// A REG_SZ that a quoted string gives back exactly: whole code units, one final NUL, no NUL
// before it, and text that stays on one line.
bool AsQuotedString(const RegValue& value, WString* text) {
    const std::vector<BYTE>& d = value.data;
    if (value.type != REG_SZ || d.size() < 2 || d.size() % 2 != 0)
        return false;
    if (d[d.size() - 2] != 0 || d[d.size() - 1] != 0)
        return false;
    text->clear();
    for (std::size_t i = 0; i + 2 < d.size(); i += 2) {
        const WCHAR unit = static_cast<WCHAR>(d[i] | (d[i + 1] << 8));
        if (unit == 0)
            return false;
        text->push_back(unit);
    }
    return Representable(*text);
}

class Writer {
  public:
    Writer(std::ostream& out, RegEncoding encoding) : out_(out), encoding_(encoding) {}

    bool Run(const Registry& registry) {
        if (encoding_ == RegEncoding::Utf16)
            out_.write("\xFF\xFE", 2);
        Emit(kHeader);
        Emit(u"");
        for (HKEY root : kRoots) {
            const WString rootName = Registry::RootName(root);
            const bool ok = Registry::ForEachKey(*registry.Root(root), true,
                                                 [&](const RegKeyNode& key, const WString& path) {
                                                     if (!path.empty() || !key.values.empty())
                                                         Key(rootName, key, path);
                                                     return static_cast<bool>(out_);
                                                 });
            if (!ok)
                return false;
        }
        out_.flush();
        return static_cast<bool>(out_);
    }

  private:
    void Key(const WString& rootName, const RegKeyNode& key, const WString& path) {
        line_ = u"[";
        line_ += rootName;
        if (!path.empty()) {
            line_.push_back(u'\\');
            line_ += path;
        }
        line_.push_back(u']');
        Emit(line_);
        for (const RegValue& value : key.values)
            Value(value);
        Emit(u"");
    }

    void Value(const RegValue& value) {
        line_.clear();
        if (value.name.empty())
            line_.push_back(u'@');
        else
            AppendQuoted(value.name, &line_);
        line_.push_back(u'=');
        char buf[32];
        if (AsQuotedString(value, &text_)) {
            AppendQuoted(text_, &line_);
            Emit(line_);
            return;
        }
        if (value.type == REG_DWORD && value.data.size() == 4) {
            const std::vector<BYTE>& d = value.data;
            const DWORD v = static_cast<DWORD>(d[0] | (d[1] << 8) | (d[2] << 16) |
                                               (static_cast<DWORD>(d[3]) << 24));
            std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(v));
            AppendAscii(buf, &line_);
            Emit(line_);
            return;
        }
        if (value.type == REG_BINARY)
            AppendAscii("hex:", &line_);
        else {
            std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(value.type));
            AppendAscii(buf, &line_);
        }
        for (std::size_t i = 0; i < value.data.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%02x", value.data[i]);
            AppendAscii(buf, &line_);
            if (i + 1 < value.data.size()) {
                line_.push_back(u',');
                if (line_.size() >= kHexWrap) {
                    line_.push_back(u'\\');
                    Emit(line_);
                    line_ = u"  ";
                }
            }
        }
        Emit(line_);
    }

    void Emit(const WString& line) {
        if (encoding_ == RegEncoding::Utf8) {
            bytes_ = ToUtf8(line);
            bytes_.push_back('\n');
        } else {
            bytes_.clear();
            for (WCHAR unit : line) {
                bytes_.push_back(static_cast<char>(unit & 0xFF));
                bytes_.push_back(static_cast<char>(unit >> 8));
            }
            bytes_.append("\r\0\n\0", 4);
        }
        out_.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
    }

    std::ostream& out_;
    RegEncoding encoding_;
    WString line_;
    WString text_;
    std::string bytes_;
};

// The first name the format cannot hold, described; empty when every name can be written.
std::string Unwritable(const Registry& registry) {
    std::string problem;
    for (HKEY root : kRoots) {
        const WString rootName = Registry::RootName(root);
        Registry::ForEachKey(
            *registry.Root(root), true, [&](const RegKeyNode& key, const WString& path) {
                const auto where = [&] {
                    return ToUtf8(rootName + (path.empty() ? u"" : u"\\") + path);
                };
                if (!Representable(key.name))
                    problem = "key \"" + where() + "\": its name cannot be written in a .reg file";
                for (const RegValue& value : key.values)
                    if (problem.empty() && !Representable(value.name))
                        problem = "a value of key \"" + where() + "\": its name cannot be written";
                return problem.empty();
            });
        if (!problem.empty())
            break;
    }
    return problem;
}

} // namespace

bool WriteRegText(const Registry& registry, std::ostream& out, RegEncoding encoding,
                  std::string* error) {
    std::string scratch;
    std::string* err = error != nullptr ? error : &scratch;
    *err = Unwritable(registry);
    if (!err->empty())
        return false;
    if (!Writer(out, encoding).Run(registry)) {
        *err = "the output failed";
        return false;
    }
    return true;
}

} // namespace sim
