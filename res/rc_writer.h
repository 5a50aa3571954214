// Turns the resource tables into what the Windows resource compiler takes: an .rc script
// (UTF-8) and one .ico file per icon. kipo_rcgen writes them; res/win32/ holds the output.
#pragma once

#include <string>
#include <vector>

#include "platform/resources.h"

namespace res {

// The whole .rc script for `section`; icons are named by IconFileName.
std::string WriteRcScript(const Section& section);

// "icon_128.ico" for icon 128.
std::string IconFileName(WORD id);

// The .ico file of one icon: every image at 8 bits per pixel with a transparency mask.
std::vector<unsigned char> WriteIconFile(const Icon& icon, std::span<const PaletteEntry> palette);

// A string as an .rc string literal, quotes included.
std::string RcQuote(const WCHAR* text);

} // namespace res
