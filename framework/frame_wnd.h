// Frame window class of the framework. (Placeholder: the message-map layer replaces it.)
#pragma once

#include "framework/wnd.h"

class CFrameWnd : public CWnd {};
