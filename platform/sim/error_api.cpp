// The last error on the simulated device, which a failing call of any area sets.
#include "platform/platform.h"
#include "platform/sim/device.h"

DWORD GetLastError() {
    return sim::Dev().LastError();
}

void SetLastError(DWORD error) {
    sim::Dev().SetLastErrorValue(error);
}
