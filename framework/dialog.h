// Modal dialogs from the program's templates, with data exchange between controls and members.
#pragma once

#include "framework/wnd.h"

class CDataExchange;

// Shell flags of the full-screen treatment: Done button, full-screen size, input panel down.
inline constexpr DWORD AFX_FULLSCREEN_DIALOG_FLAGS =
    SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; the result of EndDialog, or -1 when it could not run.
    virtual INT_PTR DoModal();

    // Framework initialisation: drop-down items of the template, controls loaded from the
    // members, then (unless m_bFullScreen is cleared) the foreground and the shell's
    // full-screen treatment. Returns TRUE: the shell sets the first focus.
    virtual BOOL OnInitDialog();
    // OK copies the controls into the members and ends with IDOK; Cancel ends with IDCANCEL
    // and copies nothing.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);

    // TRUE: controls to members; FALSE: members to controls. Nothing is validated, so it
    // always succeeds.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(INT_PTR result);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    // Pocket PC dialogs fill the screen; a dialog that keeps its template size clears this.
    BOOL m_bFullScreen = TRUE;

    static INT_PTR CALLBACK DialogProcTrampoline(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  protected:
    // A dialog's unhandled messages go back to the system's dialog procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Adds the template's drop-down items, in order, as the dialog resource prescribes.
    void AddTemplateComboItems();

  private:
    INT_PTR DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam);
};
