// The framework's window: one window procedure for every class, which finds the CWnd stored in
// the window's user data and dispatches through the class's message map.
#pragma once

#include "framework/cmd_target.h"
#include "platform/text.h"

class CWnd : public CCmdTarget {
  public:
    CWnd() = default;
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // Fills a CREATESTRUCTW, lets PreCreateWindow adjust it and creates the window. The CWnd
    // reaches the window procedure as lpCreateParams, so no creation context is passed.
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId);
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);

    // Thin wrappers: the call on m_hWnd, its result unchanged.
    virtual BOOL DestroyWindow();
    BOOL ShowWindow(int command);
    BOOL UpdateWindow();
    void GetWindowRect(LPRECT rect) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR id);
    HWND SetFocus();
    BOOL SetForegroundWindow();
    // Centres the window on `alternateOwner`, else on its owner or parent when that is
    // visible, else on the screen.
    void CenterWindow(CWnd* alternateOwner = nullptr);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Dispatch: message map first, then default processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the map chain; TRUE when a handler took it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // WM_COMMAND: routes the command through OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Default processing of the message being dispatched now.
    LRESULT Default();
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default handlers that derived maps may name.
    int OnCreate(LPCREATESTRUCTW cs);
    void OnSetFocus(HWND oldFocus);
    void OnTimer(UINT_PTR timerId);

    // Called after the window's last message; frames delete themselves here.
    virtual void PostNcDestroy() {}

    // Notices whether the window object is deleted while the watch lives (a handler that runs
    // a nested loop can see its frame deleted by Exit): after Deleted() the caller must not
    // touch the object.
    class DeleteWatch {
      public:
        explicit DeleteWatch(CWnd& wnd) : wnd_(wnd), outer_(wnd.m_deleted) {
            wnd.m_deleted = &deleted_;
        }
        ~DeleteWatch() {
            if (!deleted_)
                wnd_.m_deleted = outer_;
            else if (outer_ != nullptr)
                *outer_ = true;
        }
        DeleteWatch(const DeleteWatch&) = delete;
        DeleteWatch& operator=(const DeleteWatch&) = delete;
        bool Deleted() const { return deleted_; }

      private:
        CWnd& wnd_;
        bool* outer_;
        bool deleted_ = false;
    };

    static LRESULT CALLBACK WindowProcTrampoline(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam);

  protected:
    // Binds this object to `window` (user data) or, with null, releases the binding.
    void Attach(HWND window);
    void Detach();
    // Runs one message through WindowProc, keeping the current message for Default() and
    // noticing when a handler deletes this object.
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The last message of a window: unbinds it and lets PostNcDestroy run.
    void FinishNcDestroy();
    // Runs `handle` with the message as the current one, then restores the one before. False
    // when `handle` deleted this object: the caller must then touch nothing of it.
    template <class Handle>
    bool HandleAsCurrent(UINT message, WPARAM wParam, LPARAM lParam, Handle handle) {
        const CurrentMessage saved = m_current;
        {
            DeleteWatch watch(*this);
            m_current = {true, message, wParam, lParam};
            handle();
            if (watch.Deleted())
                return false;
        }
        m_current = saved;
        return true;
    }

    // Class names registered for this window by PreCreateWindow live here.
    WString m_className;
    // For PreCreateWindow: keeps the class name AfxRegisterWndClass gave and has the window
    // created with it; FALSE when the class could not be registered (the name is empty).
    BOOL UseRegisteredClass(CREATESTRUCTW& cs, WString className);

    struct CurrentMessage {
        bool valid = false;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };
    CurrentMessage m_current;
    // Set by the destructor when a dispatch on this object is under way.
    bool* m_deleted = nullptr;
};
