#include "framework/dialog.h"

#include "framework/app_name.h"
#include "framework/data_exchange.h"
#include "framework/safe_owner.h"
#include "platform/resources.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    on::Command<&CDialog::OnOK>(IDOK),
    on::Command<&CDialog::OnCancel>(IDCANCEL),
END_MESSAGE_MAP();
// clang-format on

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    // Without a parent the dialog is owned as the standard message box is, so that a box shown
    // from it is owned by it in turn.
    const SafeOwner owner(m_pParentWnd);
    const INT_PTR result = ::DialogBoxParamW(
        AfxGetInstanceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner.Get(),
        &CDialog::DialogProcTrampoline, reinterpret_cast<LPARAM>(static_cast<CDialog*>(this)));
    // The window is gone whether or not its last messages reached us.
    Detach();
    return result;
}

void CDialog::AddTemplateComboItems() {
    const res::Dialog* dialog =
        res::FindDialog(res::ProgramResources(), static_cast<WORD>(m_nIDTemplate));
    if (dialog == nullptr)
        return;
    for (const res::ComboItems& combo : dialog->comboItems)
        for (const WCHAR* item : combo.items)
            ::SendDlgItemMessageW(m_hWnd, combo.controlId, CB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(item));
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    if (m_bFullScreen) {
        ::SetForegroundWindow(m_hWnd);
        SHINITDLGINFO info = {};
        info.dwMask = SHIDIM_FLAGS;
        info.hDlg = m_hWnd;
        info.dwFlags = AFX_FULLSCREEN_DIALOG_FLAGS;
        ::SHInitDialog(&info);
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::EndDialog(INT_PTR result) {
    ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    return 0;
}

INT_PTR CDialog::DispatchDialog(UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    if (!HandleAsCurrent(message, wParam, lParam, [&] {
            LRESULT result = 0;
            handled = OnWndMsg(message, wParam, lParam, &result);
        }))
        return handled;
    if (message == WM_NCDESTROY)
        Detach();
    // A dialog procedure answers "handled"; the few messages whose result matters to the
    // system (none of the program's) would go through DWLP_MSGRESULT.
    return handled;
}

INT_PTR CALLBACK CDialog::DialogProcTrampoline(HWND dialog, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        if (self == nullptr)
            return FALSE;
        self->Attach(dialog);
        self->AddTemplateComboItems();
        return self->OnInitDialog();
    }
    if (self == nullptr)
        return FALSE;
    return self->DispatchDialog(message, wParam, lParam);
}
