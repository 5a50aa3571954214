// Icons drawn as 16x16 pixel art; larger images repeat each art pixel. Icon 128 is the program's
// icon (the Bluetooth rune with signal bars); 133 and 137 are the notification icons (the rune).
#include "res/resource_ids.h"
#include "res/tables.h"

namespace res {

namespace {

constexpr PaletteEntry kPalette[] = {
    {'k', 0x101820}, // outline
    {'b', 0x1E5AC8}, // badge blue
    {'w', 0xFFFFFF}, // rune
    {'o', 0xF08C1E}, // signal bars
};

constexpr const char* kProgramArt[] = {
    "...kkkkkkkkkk...", "..kbbbbbbbbbbk..", ".kbbbbwbbbbbbbk.", ".kbbbbwwbbbbbbk.",
    ".kbwbbwbwbbbbbk.", ".kbbwbwbbwbbbbk.", ".kbbbwwbwbbbbbk.", ".kbbbbwwbbbbbok.",
    ".kbbbbwwbbbbbok.", ".kbbbwwbwbbbbok.", ".kbbwbwbbwbobok.", ".kbwbbwbwbbobok.",
    ".kbbbbwwbbbobok.", ".kbbbbwbbbbbbbk.", "..kbbbbbbbbbbk..", "...kkkkkkkkkk...",
};

constexpr const char* kNotifyArt[] = {
    "...kkkkkkkkkk...", "..kbbbbbbbbbbk..", ".kbbbbbwbbbbbbk.", ".kbbbbbwwbbbbbk.",
    ".kbbwbbwbwbbbbk.", ".kbbbwbwbbwbbbk.", ".kbbbbwwbwbbbbk.", ".kbbbbbwwbbbbbk.",
    ".kbbbbbwwbbbbbk.", ".kbbbbwwbwbbbbk.", ".kbbbwbwbbwbbbk.", ".kbbwbbwbwbbbbk.",
    ".kbbbbbwwbbbbbk.", ".kbbbbbwbbbbbbk.", "..kbbbbbbbbbbk..", "...kkkkkkkkkk...",
};

constexpr IconImage kProgramImages[] = {
    {32, 8, kProgramArt, 2},
    {16, 8, kProgramArt, 1},
    {64, 8, kProgramArt, 4},
};
constexpr IconImage kNotifyHighResImages[] = {
    {16, 8, kNotifyArt, 1},
    {32, 8, kNotifyArt, 2},
};
constexpr IconImage kNotifyLowResImages[] = {
    {16, 8, kNotifyArt, 1},
};

constexpr Icon kIcons[] = {
    {IDR_MAINFRAME, kProgramImages},
    {IDI_NOTIFY_HIGHRES, kNotifyHighResImages},
    {IDI_NOTIFY_LOWRES, kNotifyLowResImages},
};

} // namespace

std::span<const Icon> IconTable() {
    return kIcons;
}
std::span<const PaletteEntry> PaletteTable() {
    return kPalette;
}

} // namespace res
