#include "framework/frame_wnd.h"

#include "framework/app_name.h"
#include "framework/resource_string.h"
#include "framework/win_app.h"
#include "framework/wnd_class.h"

// clang-format off
BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    on::Create<&CFrameWnd::OnCreate>(),
    on::SetFocus<&CFrameWnd::OnSetFocus>(),
    on::Close<&CFrameWnd::OnClose>(),
END_MESSAGE_MAP();
// clang-format on

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent) {
    // The title is the string's first line; the rest are document texts.
    m_strTitle = LoadResourceString(resourceId);
    if (const std::size_t newline = m_strTitle.find(u'\n'); newline != WString::npos)
        m_strTitle.resize(newline);

    BOOL created = FALSE;
    {
        DeleteWatch watch(*this);
        created = CreateEx(0, nullptr, m_strTitle.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT,
                           parent != nullptr ? parent->m_hWnd : nullptr, nullptr);
        if (watch.Deleted()) // the window was destroyed during its creation, the frame with it
            return FALSE;
    }
    if (!created && m_bAutoDelete) {
        // No window ever reached the frame (the class or the window could not be made):
        // delete it as its destruction would have, so failure always means "gone".
        PostNcDestroy();
        return FALSE;
    }
    return created;
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code) {
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(id, code))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code))
        return TRUE;
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->OnCmdMsg(id, code))
        return TRUE;
    return FALSE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW cs) {
    return CWnd::OnCreate(cs) == -1 ? -1 : 0;
}

void CFrameWnd::OnSetFocus(HWND oldFocus) {
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(oldFocus);
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}
