// Dialog units of the simulated device. Every face is drawn as Tahoma, the device's one user
// interface face ("System" included): its cell is 1.207 em high and the average width of its
// letters 0.545 em, so 8 points at 96 dpi give Windows' familiar 6 x 13 base units.
#pragma once

#include "platform/platform.h"

namespace sim {

struct BaseUnits {
    int x = 0; // average character width, pixels
    int y = 0; // character cell height, pixels
};

// Windows' MulDiv: a * b / c rounded half away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// The base units of a template font; dpi is 96 on a 240x320 screen, 192 on 480x640.
BaseUnits BaseUnitsFor(int pointSize, int dpi);

// Dialog units to pixels, as MapDialogRect converts each value.
inline int DialogUnitsToPixelsX(int units, BaseUnits base) {
    return MulDiv(units, base.x, 4);
}
inline int DialogUnitsToPixelsY(int units, BaseUnits base) {
    return MulDiv(units, base.y, 8);
}

} // namespace sim
