#include "res/rc_writer.h"

#include <cstdio>

namespace res {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Hex(DWORD value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(value));
    return buffer;
}

std::string Num(long value) {
    return std::to_string(value);
}

// A control statement keeps the style exactly as tabled: the compiler adds WS_CHILD and
// WS_VISIBLE to every control, so a hidden control says NOT WS_VISIBLE.
std::string ControlStyle(DWORD style) {
    std::string text = Hex(style);
    if ((style & WS_VISIBLE) == 0)
        text += " | NOT 0x10000000";
    return text;
}

std::string Position(const Control& c) {
    return Num(c.x) + ", " + Num(c.y) + ", " + Num(c.cx) + ", " + Num(c.cy);
}

void WriteMenuItems(std::string& out, std::span<const MenuItem> items, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    out += indent.substr(4) + "BEGIN\n";
    for (const MenuItem& item : items) {
        if (item.separator) {
            out += indent + "MENUITEM SEPARATOR\n";
        } else if (!item.popup.empty()) {
            out += indent + "POPUP " + RcQuote(item.text) + "\n";
            WriteMenuItems(out, item.popup, depth + 1);
        } else {
            out += indent + "MENUITEM " + RcQuote(item.text) + ", " + Num(item.id) + "\n";
        }
    }
    out += indent.substr(4) + "END\n";
}

void WriteDialog(std::string& out, const Dialog& d) {
    out += Num(d.id) + " DIALOGEX " + Num(d.x) + ", " + Num(d.y) + ", " + Num(d.cx) + ", " +
           Num(d.cy) + "\n";
    out += "STYLE " + Hex(d.style) + "\n";
    if (d.exStyle != 0)
        out += "EXSTYLE " + Hex(d.exStyle) + "\n";
    out += "CAPTION " + RcQuote(d.caption) + "\n";
    if (d.fontName != nullptr)
        out += "FONT " + Num(d.pointSize) + ", " + RcQuote(d.fontName) + "\n";
    out += "BEGIN\n";
    for (const Control& c : d.controls) {
        // An icon static's text is the icon's resource number (the ICON statement would drop
        // the size).
        const std::string text = c.iconId != 0 ? Num(c.iconId) : RcQuote(c.text);
        out += "    CONTROL " + text + ", " + Num(c.id) + ", " + RcQuote(c.className) + ", " +
               ControlStyle(c.style) + ", " + Position(c);
        if (c.exStyle != 0)
            out += ", " + Hex(c.exStyle);
        out += "\n";
    }
    out += "END\n\n";
}

void Put16(std::vector<unsigned char>& out, unsigned value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, DWORD value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Palette index of an art letter: 0 is the transparent (masked) colour, palette entries follow.
int PaletteIndex(char letter, std::span<const PaletteEntry> palette) {
    for (std::size_t i = 0; i < palette.size() && i < 255; ++i)
        if (palette[i].letter == letter && letter != '.')
            return static_cast<int>(i) + 1;
    return 0;
}

std::vector<unsigned char> ImageBits(const IconImage& image,
                                     std::span<const PaletteEntry> palette) {
    const int size = image.size;
    const int scale = image.scale > 0 ? image.scale : 1;
    std::vector<unsigned char> bits;
    Put32(bits, 40);
    Put32(bits, static_cast<DWORD>(size));
    Put32(bits, static_cast<DWORD>(size * 2)); // colour rows, then mask rows
    Put16(bits, 1);
    Put16(bits, 8);
    Put32(bits, 0);
    const int maskRow = (size + 31) / 32 * 4;
    const int colourRow = (size + 3) / 4 * 4;
    Put32(bits, static_cast<DWORD>((colourRow + maskRow) * size));
    for (int i = 0; i < 4; ++i)
        Put32(bits, 0);
    for (int i = 0; i < 256; ++i) {
        DWORD rgb = (i >= 1 && static_cast<std::size_t>(i) <= palette.size())
                        ? palette[static_cast<std::size_t>(i - 1)].rgb
                        : 0;
        bits.push_back(static_cast<unsigned char>(rgb & 0xFF));
        bits.push_back(static_cast<unsigned char>((rgb >> 8) & 0xFF));
        bits.push_back(static_cast<unsigned char>((rgb >> 16) & 0xFF));
        bits.push_back(0);
    }
    auto letterAt = [&](int x, int y) -> char {
        const std::size_t row = static_cast<std::size_t>(y / scale);
        if (row >= image.rows.size() || image.rows[row] == nullptr)
            return '.';
        const std::string_view art(image.rows[row]);
        const std::size_t col = static_cast<std::size_t>(x / scale);
        return col < art.size() ? art[col] : '.';
    };
    for (int y = size - 1; y >= 0; --y) { // bottom-up
        for (int x = 0; x < colourRow; ++x)
            bits.push_back(
                x < size ? static_cast<unsigned char>(PaletteIndex(letterAt(x, y), palette)) : 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<unsigned char> row(static_cast<std::size_t>(maskRow), 0);
        for (int x = 0; x < size; ++x)
            if (PaletteIndex(letterAt(x, y), palette) == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<unsigned char>(0x80 >> (x % 8));
        bits.insert(bits.end(), row.begin(), row.end());
    }
    return bits;
}

} // namespace

std::string RcQuote(const WCHAR* text) {
    std::string out = "\"";
    if (text != nullptr) {
        for (const WCHAR* p = text; *p != 0; ++p) {
            char32_t c = static_cast<char16_t>(*p);
            if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(p[1]) - 0xDC00);
                ++p;
            } else if (c >= 0xD800 && c < 0xE000) {
                c = 0xFFFD;
            }
            switch (c) {
            case '"':
                out += "\"\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                AppendUtf8(out, c);
            }
        }
    }
    return out + "\"";
}

std::string IconFileName(WORD id) {
    return "icon_" + Num(id) + ".ico";
}

std::string WriteRcScript(const Section& section) {
    std::string out = "// Written by kipo_rcgen from the resource tables of res/; edit those, not "
                      "this file.\n#pragma code_page(65001)\n\n";
    for (const Icon& icon : section.icons)
        out += Num(icon.id) + " ICON \"" + IconFileName(icon.id) + "\"\n";
    out += "\n";
    for (const Menu& menu : section.menus) {
        out += Num(menu.id) + " MENU\n";
        WriteMenuItems(out, menu.items, 1);
        out += "\n";
    }
    if (!section.strings.empty()) {
        out += "STRINGTABLE\nBEGIN\n";
        for (const String& entry : section.strings)
            out += "    " + Num(entry.id) + ", " + RcQuote(entry.text) + "\n";
        out += "END\n\n";
    }
    for (const Dialog& dialog : section.dialogs)
        WriteDialog(out, dialog);
    return out;
}

std::vector<unsigned char> WriteIconFile(const Icon& icon, std::span<const PaletteEntry> palette) {
    std::vector<std::vector<unsigned char>> images;
    for (const IconImage& image : icon.images)
        images.push_back(ImageBits(image, palette));
    std::vector<unsigned char> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    DWORD offset = 6 + 16 * static_cast<DWORD>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = icon.images[i].size;
        out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));
        out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));
        out.push_back(0); // 256 colours
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 8);
        Put32(out, static_cast<DWORD>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<DWORD>(images[i].size());
    }
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

} // namespace res
