// The framework's frame window: created from a resource id (title string, menu), routes
// commands to its view, itself and the application, and deletes itself when its window is
// destroyed.
#pragma once

#include "framework/wnd.h"

// Frame style: the title is added to the caption (kept in the window style, as the
// framework has always done).
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;
// Framework child ids.
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;

class CFrameWnd : public CWnd {
  public:
    CFrameWnd() = default;

    // Creates the frame window with the title from the first line of string `resourceId`.
    // On failure the frame object is gone when m_bAutoDelete is set (as after any destruction
    // of its window), so the caller must not use it.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style, CWnd* parent = nullptr);

    // The active view first, then this frame's map, then the application's.
    BOOL OnCmdMsg(UINT id, int code) override;

    // The menu of the frame's command bar (set by CCeCommandBar::InsertMenuBar).
    HMENU GetMenu() const { return m_hMenu; }
    void SetMenuBar(HMENU menu) { m_hMenu = menu; }

    void SetActiveView(CWnd* view) { m_pViewActive = view; }

    // Frames are created with new and deleted when their window goes; a frame that lives
    // elsewhere (a test's local object) clears this.
    BOOL m_bAutoDelete = TRUE;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnSetFocus(HWND oldFocus);
    void OnClose();

    DECLARE_MESSAGE_MAP()

  protected:
    void PostNcDestroy() override;

    WString m_strTitle;
    HMENU m_hMenu = nullptr;
    CWnd* m_pViewActive = nullptr;
};
