// The application's name and instance, for code that runs with or without an application
// object (window classes, message boxes).
#pragma once

#include "platform/text.h"

// The base name of a module path: the path is cut at its last ".", and the name is what
// follows the last "\", "/" or ":" of the rest.
WString ModuleBaseName(const WString& path);

// The full path of the running executable (any length).
WString AfxModuleFileName();

// The running application's name, or the executable's base name when no application runs.
WString AfxAppName();

// The running application's instance, or the executable's module handle.
HINSTANCE AfxGetInstanceHandle();
