// Window classes registered by the framework, all served by CWnd's one window procedure.
#pragma once

#include "platform/text.h"

// Registers (once per process) a class with these attributes and returns its name, or an
// empty string when registration fails. The name is "Afx:" + the application name + the
// attributes in hex, so the same attributes give the same class and another instance of
// the program can find its windows by class.
WString AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// The name AfxRegisterWndClass gives those attributes, without registering anything.
WString AfxWndClassName(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                        HICON icon = nullptr);
