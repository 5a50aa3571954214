// The resource tables of res/, one function per kind; ProgramResources() gathers them.
#pragma once

#include <span>

#include "platform/resources.h"

namespace res {

std::span<const Menu> MenuTable();
std::span<const String> StringTable();
std::span<const Icon> IconTable();
std::span<const PaletteEntry> PaletteTable();
const Dialog& AboutDialog();
const Dialog& SettingsDialog();
const Dialog& WindowFoundDialog();

} // namespace res
