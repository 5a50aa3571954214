// The Pocket PC command bar: a child window along the screen's bottom edge that carries the
// frame's menu bar.
#pragma once

#include "framework/wnd.h"

// Control-bar styles kept by the bar, not by its window.
inline constexpr DWORD CBRS_SIZE_FIXED = 0x0002L;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010L;
inline constexpr DWORD CBRS_FLYBY = 0x0020L;
inline constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800L;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000L;
inline constexpr DWORD CBRS_ALL = 0x0040FFFFL;

class CCeCommandBar : public CWnd {
  public:
    CCeCommandBar() = default;
    ~CCeCommandBar() override;

    // Creates the bar as a child of `parent`, as wide as the screen and placed at its bottom
    // edge; its height scales with the screen (26 px on a 320-line screen).
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    using CWnd::Create;
    // Loads menu `menuId` into the bar; it becomes the frame's menu.
    BOOL InsertMenuBar(UINT menuId);
    // The standard buttons (close, OK, help) are drawn by the shell: nothing to keep here.
    BOOL AddAdornments(DWORD flags);

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    HMENU GetMenu() const { return m_hMenu; }

    static int HeightForScreen(int screenHeight);

  private:
    CWnd* m_pParent = nullptr;
    HMENU m_hMenu = nullptr;
    DWORD m_dwStyle = 0;
};
