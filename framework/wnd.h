// Base window class of the framework. (Placeholder: the message-map layer replaces it.)
#pragma once

#include "platform/platform.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
};
