// The program's entry, the same on every host.
#include "app/kipo_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    return KipoMain(instance, commandLine);
}
