#include "app/kipo_main.h"

#include "app/switcher_app.h"

int KipoMain(HINSTANCE instance, LPCWSTR commandLine) {
    CSwitcherApp app;
    return AfxWinMain(app, instance, commandLine);
}
