#include "tools/kipo-sim/call_pattern.h"

#include <charconv>
#include <cstdint>

#include "platform/sim/glob.h"

namespace kiposim {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A decimal or 0x-hex integer, with an optional minus.
std::optional<long long> Integer(std::string_view s) {
    bool negative = false;
    if (!s.empty() && s.front() == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty())
        return std::nullopt;
    unsigned long long value = 0;
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return negative ? -static_cast<long long>(value) : static_cast<long long>(value);
}

bool ArgMatches(std::string_view pattern, std::string_view actual, HandleLabel label) {
    if (pattern == "*")
        return true;
    if (pattern == "main")
        return label == HandleLabel::Main;
    if (pattern == "dialog")
        return label == HandleLabel::Dialog;
    const auto wanted = Integer(pattern);
    const auto found = Integer(actual);
    if (wanted && found) {
        // A DWORD written as -1 is the trace's 4294967295.
        return *wanted == *found ||
               static_cast<std::uint32_t>(*wanted) == static_cast<std::uint32_t>(*found);
    }
    return sim::GlobMatches(pattern, actual);
}

// Splits `text` at the commas outside quotes and brackets. With `closing`, the text begins
// just after an opening parenthesis and the scan stops at the one that closes it, whose place
// goes to `*closing` (npos when there is none).
std::vector<std::string> ScanArgs(std::string_view text, std::size_t* closing) {
    std::vector<std::string> out;
    bool quoted = false;
    int depth = 0;
    std::size_t begin = 0;
    std::size_t end = text.size();
    if (closing != nullptr)
        *closing = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == '(' || c == '{') {
            ++depth;
        } else if ((c == ')' || c == '}') && depth > 0) {
            --depth;
        } else if (c == ')' && closing != nullptr) {
            *closing = end = i;
            break;
        } else if (c == ',' && depth == 0) {
            out.emplace_back(Trim(text.substr(begin, i - begin)));
            begin = i + 1;
        }
    }
    const std::string_view last = Trim(text.substr(begin, end - begin));
    if (!out.empty() || !last.empty())
        out.emplace_back(last);
    return out;
}

} // namespace

std::vector<std::string> SplitArgs(std::string_view args) {
    return ScanArgs(args, nullptr);
}

bool CallPattern::Parse(std::string_view text, CallPattern& out, std::string& error) {
    out = CallPattern();
    out.text = std::string(Trim(text));
    std::string_view rest = out.text;
    std::size_t nameEnd = 0;
    while (nameEnd < rest.size() && rest[nameEnd] != '(' && rest[nameEnd] != ' ' &&
           rest[nameEnd] != '=')
        ++nameEnd;
    out.name = std::string(rest.substr(0, nameEnd));
    if (out.name.empty()) {
        error = "a call pattern begins with the operation's name";
        return false;
    }
    for (char c : out.name)
        if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
              (c >= 'A' && c <= 'Z'))) {
            error = "`" + out.name + "` is not an operation name";
            return false;
        }
    rest = Trim(rest.substr(nameEnd));
    if (!rest.empty() && rest.front() == '(') {
        std::size_t close = 0;
        out.args = ScanArgs(rest.substr(1), &close);
        if (close == std::string_view::npos) {
            error = "the argument list has no closing parenthesis";
            return false;
        }
        ++close; // its place in `rest`
        out.anyArgs = false;
        if (!out.args.empty() && out.args.back() == "...") {
            out.moreArgs = true;
            out.args.pop_back();
        }
        for (const std::string& arg : out.args)
            if (arg.empty() || arg == "...") {
                error = "an empty argument (write `*` for any one)";
                return false;
            }
        rest = Trim(rest.substr(close + 1));
    }
    if (!rest.empty()) {
        if (rest.front() != '=') {
            error = "expected `= RESULT` after the call, found `" + std::string(rest) + "`";
            return false;
        }
        rest = Trim(rest.substr(1));
        if (rest.empty()) {
            error = "missing the result after `=`";
            return false;
        }
        out.result = std::string(rest);
    }
    return true;
}

bool CallPattern::Matches(std::string_view callName, const std::vector<std::string>& callArgs,
                          const std::vector<HandleLabel>& labels,
                          std::string_view callResult) const {
    if (callName != name)
        return false;
    if (!anyArgs) {
        if (moreArgs ? callArgs.size() < args.size() : callArgs.size() != args.size())
            return false;
        for (std::size_t i = 0; i < args.size(); ++i)
            if (!ArgMatches(args[i], callArgs[i],
                            i < labels.size() ? labels[i] : HandleLabel::None))
                return false;
    }
    return !result || ArgMatches(*result, callResult, HandleLabel::None);
}

} // namespace kiposim
