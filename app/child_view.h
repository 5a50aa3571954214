// The child view that fills the frame: it holds nothing and draws nothing, but takes the
// focus and is offered every command first.
#pragma once

#include "framework/wnd.h"

class CChildView : public CWnd {
  public:
    CChildView() = default;
    ~CChildView() override = default;

    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
