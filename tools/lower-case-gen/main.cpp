// Generates the simulated device's lower-case table from the Unicode Character Database
// (Debian package unicode-data: /usr/share/unicode), with the letters Windows leaves as they
// are. Writes two files: the device's compact table, and the flat list of every mapping that
// the portable tests hold both the device and real Windows (under Wine) to.
//
//   lower-case-gen DATA_DIR TABLE_FILE EXPECTED_FILE           write both files
//   lower-case-gen --check DATA_DIR TABLE_FILE EXPECTED_FILE   compare them with the data
//
// Exit codes: 0 done (or up to date), 1 a file differs from what the data gives, 2 bad input,
// 77 (with --check) no data to check against.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Simple lower-case mappings of the Unicode data that Windows does not apply. Each of them is a
// mapping whose lower-case letter does not upper-case back to the letter it came from; Windows
// lowers a letter only when the pair goes both ways (measured with Wine 8.0's CharLowerBuffW
// over every code point: these ten are its only differences from Unicode 15.0).
struct Exception {
    char32_t code;
    const char* reason;
};
const Exception kWindowsKeeps[] = {
    {0x0130, "capital I with dot above: lowering gives ASCII i, whose capital is I; the "
             "dotted and dotless pairs are Turkish, and the locale-neutral table keeps both"},
    {0x01C5, "titlecase digraph Dz with caron: its lower dz upper-cases to DZ U+01C4"},
    {0x01C8, "titlecase digraph Lj: its lower lj upper-cases to LJ U+01C7"},
    {0x01CB, "titlecase digraph Nj: its lower nj upper-cases to NJ U+01CA"},
    {0x01F2, "titlecase digraph Dz: its lower dz upper-cases to DZ U+01F1"},
    {0x03F4, "capital theta symbol: a symbol variant; theta upper-cases to U+0398"},
    {0x1E9E, "capital sharp s: sharp s U+00DF has no single capital to go back to"},
    {0x2126, "ohm sign: a symbol equivalent to omega; omega upper-cases to U+03A9"},
    {0x212A, "kelvin sign: a symbol equivalent to K; lowering gives ASCII k"},
    {0x212B, "angstrom sign: a symbol equivalent to A with ring; its lower upper-cases to U+00C5"},
};

constexpr unsigned kBlockShift = 5; // 32 code units a block: the smallest table (about 5.5 KB)
constexpr unsigned kBlockSize = 1u << kBlockShift;

struct Mapping {
    std::map<char32_t, char32_t> lower; // every code point whose lower case differs
    std::map<char32_t, char32_t> upper;
    std::string version;
};

bool ParseHex(const std::string& text, char32_t* value) {
    if (text.empty() || text.size() > 6)
        return false;
    char32_t v = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (digit < 0)
            return false;
        v = v * 16 + static_cast<char32_t>(digit);
    }
    if (v > 0x10FFFF)
        return false;
    *value = v;
    return true;
}

// Column (1-based) where field `index` of a ';'-separated line starts.
std::size_t FieldColumn(const std::string& line, std::size_t index) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < line.size() && index > 0; ++i)
        if (line[i] == ';') {
            --index;
            column = i + 2;
        }
    return column;
}

bool ReadUnicodeData(const std::string& path, Mapping* mapping) {
    std::ifstream in(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, ';');)
            fields.push_back(field);
        if (fields.size() < 14) {
            std::cerr << path << ":" << number << ":1: expected 15 fields separated by ';'\n";
            return false;
        }
        char32_t code = 0;
        if (!ParseHex(fields[0], &code)) {
            std::cerr << path << ":" << number << ":1: not a code point: " << fields[0] << "\n";
            return false;
        }
        for (std::size_t index : {std::size_t{12}, std::size_t{13}}) {
            if (fields[index].empty())
                continue;
            char32_t to = 0;
            if (!ParseHex(fields[index], &to)) {
                std::cerr << path << ":" << number << ":" << FieldColumn(line, index)
                          << ": not a code point: " << fields[index] << "\n";
                return false;
            }
            (index == 12 ? mapping->upper : mapping->lower)[code] = to;
        }
    }
    if (mapping->lower.empty()) {
        std::cerr << path << ":1:1: no lower-case mappings found\n";
        return false;
    }
    return true;
}

// The version, from the first line of DerivedAge.txt beside the data ("# DerivedAge-15.0.0.txt").
std::string ReadVersion(const std::string& directory) {
    std::ifstream in(directory + "/DerivedAge.txt");
    std::string line;
    std::getline(in, line);
    const std::string prefix = "# DerivedAge-";
    const std::string suffix = ".txt";
    if (line.rfind(prefix, 0) != 0 || line.size() <= prefix.size() + suffix.size())
        return "of unknown version";
    return line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
}

// Removes the exceptions, and refuses data whose one-way mappings are not all listed, or a
// listed exception that the data no longer has: either needs a decision checked under Wine.
bool ApplyWindowsExceptions(Mapping* mapping, const std::string& path) {
    bool ok = true;
    for (const Exception& e : kWindowsKeeps) {
        auto found = mapping->lower.find(e.code);
        if (found == mapping->lower.end()) {
            std::fprintf(stderr,
                         "%s:1:1: U+%04X is listed as kept by Windows but has no lower "
                         "case in this data: remove it from the list\n",
                         path.c_str(), static_cast<unsigned>(e.code));
            ok = false;
        }
    }
    for (auto it = mapping->lower.begin(); it != mapping->lower.end();) {
        const bool listed = std::any_of(std::begin(kWindowsKeeps), std::end(kWindowsKeeps),
                                        [&](const Exception& e) { return e.code == it->first; });
        auto back = mapping->upper.find(it->second);
        const bool roundTrip = back != mapping->upper.end() && back->second == it->first;
        if (listed && roundTrip) {
            std::fprintf(stderr,
                         "%s:1:1: U+%04X is listed as kept by Windows but its lower case "
                         "maps back: check it under Wine\n",
                         path.c_str(), static_cast<unsigned>(it->first));
            ok = false;
        }
        if (!listed && !roundTrip) {
            std::fprintf(stderr,
                         "%s:1:1: U+%04X lowers to U+%04X, which does not map back: check "
                         "under Wine whether Windows lowers it, and list it if not\n",
                         path.c_str(), static_cast<unsigned>(it->first),
                         static_cast<unsigned>(it->second));
            ok = false;
        }
        it = listed ? mapping->lower.erase(it) : std::next(it);
    }
    return ok;
}

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

std::string Header(const Mapping& mapping, const char* what) {
    std::string text = "// Generated by tools/lower-case-gen from the Unicode Character Database " +
                       mapping.version + " (UnicodeData.txt)\n";
    text += "// less the letters Windows keeps (listed in the generator). Do not edit: rebuild\n";
    text += "// with the CMake target lower_case_table.\n// ";
    text += what;
    text += "\n";
    return text;
}

// Two levels for the 65,536 code units: a block number for each 32 units, then for each
// distinct block the amount to add (modulo 2^16) to each unit. Supplementary code points, met
// only as surrogate pairs, are runs of consecutive code points lowered by the same amount.
std::string TableFile(const Mapping& mapping) {
    std::vector<std::vector<std::uint16_t>> blocks;
    std::vector<unsigned> index;
    for (unsigned start = 0; start < 0x10000; start += kBlockSize) {
        std::vector<std::uint16_t> block(kBlockSize);
        for (unsigned i = 0; i < kBlockSize; ++i) {
            auto found = mapping.lower.find(start + i);
            if (found != mapping.lower.end())
                block[i] = static_cast<std::uint16_t>(found->second - (start + i));
        }
        auto same = std::find(blocks.begin(), blocks.end(), block);
        index.push_back(static_cast<unsigned>(same - blocks.begin()));
        if (same == blocks.end())
            blocks.push_back(block);
    }
    struct Run {
        char32_t first, last;
        std::int32_t delta;
    };
    std::vector<Run> runs;
    for (auto [from, to] : mapping.lower) {
        if (from < 0x10000)
            continue;
        const auto delta = static_cast<std::int32_t>(to) - static_cast<std::int32_t>(from);
        if (!runs.empty() && runs.back().last + 1 == from && runs.back().delta == delta)
            runs.back().last = from;
        else
            runs.push_back({from, from, delta});
    }

    std::string text = Header(mapping, "The simulated device's lower-case mapping.");
    text += "inline constexpr unsigned kLowerBlockShift = " + std::to_string(kBlockShift) + ";\n";
    text +=
        "inline constexpr std::uint8_t kLowerBlockOf[" + std::to_string(index.size()) + "] = {\n";
    for (std::size_t i = 0; i < index.size(); ++i)
        text += (i % 16 == 0 ? "    " : " ") + std::to_string(index[i]) + "," +
                (i % 16 == 15 ? "\n" : "");
    text += "};\ninline constexpr std::uint16_t kLowerBlockAdd[" + std::to_string(blocks.size()) +
            "][" + std::to_string(kBlockSize) + "] = {\n";
    for (const auto& block : blocks) {
        text += "    {";
        for (std::size_t i = 0; i < block.size(); ++i)
            text += (i == 0 ? "" : i % 8 == 0 ? ",\n     " : ", ") + Hex(block[i], 4);
        text += "},\n";
    }
    text += "};\nstruct LowerRun {\n    char32_t first;\n    char32_t last;\n"
            "    std::int32_t add;\n};\n";
    text += "inline constexpr LowerRun kLowerSupplementary[] = {\n";
    for (const Run& run : runs)
        text += "    {" + Hex(run.first, 5) + ", " + Hex(run.last, 5) + ", " +
                std::to_string(run.delta) + "},\n";
    text += "};\n";
    return text;
}

std::string ExpectedFile(const Mapping& mapping) {
    std::string text = Header(
        mapping, "Every code point whose lower case differs from it, as {code point, lower case}.");
    for (auto [from, to] : mapping.lower)
        text += "{" + Hex(from, 5) + ", " + Hex(to, 5) + "},\n";
    return text;
}

std::optional<std::string> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Line number (1-based) of the first difference.
int FirstDifferentLine(const std::string& a, const std::string& b) {
    int line = 1;
    for (std::size_t i = 0; i < a.size() && i < b.size() && a[i] == b[i]; ++i)
        line += a[i] == '\n';
    return line;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool check = !args.empty() && args[0] == "--check";
    if (check)
        args.erase(args.begin());
    if (args.size() != 3) {
        std::cerr << "usage: lower-case-gen [--check] DATA_DIR TABLE_FILE EXPECTED_FILE\n";
        return 2;
    }
    const std::string dataPath = args[0] + "/UnicodeData.txt";
    if (!std::ifstream(dataPath)) {
        std::cerr << dataPath << ": cannot read (Debian package unicode-data)"
                  << (check ? "; not checked\n" : "\n");
        return check ? 77 : 2;
    }
    Mapping mapping;
    if (!ReadUnicodeData(dataPath, &mapping) || !ApplyWindowsExceptions(&mapping, dataPath))
        return 2;
    mapping.version = ReadVersion(args[0]);

    const std::pair<std::string, std::string> outputs[] = {{args[1], TableFile(mapping)},
                                                           {args[2], ExpectedFile(mapping)}};
    int status = 0;
    for (const auto& [path, text] : outputs) {
        if (check) {
            const auto existing = ReadWhole(path);
            if (!existing) {
                std::cerr << path << ": cannot read\n";
                status = 1;
            } else if (*existing != text) {
                std::cerr << path << ":" << FirstDifferentLine(*existing, text)
                          << ":1: differs from what " << dataPath
                          << " gives; rebuild with the CMake target lower_case_table\n";
                status = 1;
            }
            continue;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::cerr << path << ": cannot write\n";
            return 2;
        }
    }
    return status;
}
