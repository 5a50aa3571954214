// Windows CE's single entry point for changing a named event, on desktop Windows.
#include "platform/platform.h"

BOOL EventModify(HANDLE event, DWORD func) {
    switch (func) {
    case EVENT_PULSE:
        return PulseEvent(event);
    case EVENT_RESET:
        return ResetEvent(event);
    case EVENT_SET:
        return SetEvent(event);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
