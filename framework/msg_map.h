// Per-class message maps: a static table of (message, notification code, command id, handler)
// for each class, chained to the base class's table. Handlers are ordinary members; a small
// thunk per entry turns the message's parameters into the handler's arguments.
#pragma once

#include "platform/platform.h"

class CCmdTarget;

using MsgHandler = LRESULT (*)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);

struct MsgMapEntry {
    UINT message = 0;
    UINT code = 0; // WM_COMMAND only: the notification code (0 for menus and BN_CLICKED)
    UINT id = 0;   // WM_COMMAND only: the command or control id
    MsgHandler handler = nullptr; // null ends a table
};

struct MsgMap {
    const MsgMap* base = nullptr;
    const MsgMapEntry* entries = nullptr;
};

namespace msgmap {

template <class M> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> { using Class = C; };
template <auto F> using ClassOf = typename MemberOf<decltype(F)>::Class;

template <auto F> LRESULT CallCreate(CCmdTarget& t, WPARAM, LPARAM l) {
    return (static_cast<ClassOf<F>&>(t).*F)(reinterpret_cast<LPCREATESTRUCTW>(l));
}
template <auto F> LRESULT CallWindowArg(CCmdTarget& t, WPARAM w, LPARAM) {
    (static_cast<ClassOf<F>&>(t).*F)(reinterpret_cast<HWND>(w));
    return 0;
}
template <auto F> LRESULT CallTimer(CCmdTarget& t, WPARAM w, LPARAM) {
    (static_cast<ClassOf<F>&>(t).*F)(static_cast<UINT_PTR>(w));
    return 0;
}
template <auto F> LRESULT CallNoArgs(CCmdTarget& t, WPARAM, LPARAM) {
    (static_cast<ClassOf<F>&>(t).*F)();
    return 0;
}
template <auto F> LRESULT CallRaw(CCmdTarget& t, WPARAM w, LPARAM l) {
    return (static_cast<ClassOf<F>&>(t).*F)(w, l);
}

} // namespace msgmap

// Entry builders, one per handler shape used by the program.
namespace on {

// int OnCreate(LPCREATESTRUCTW)
template <auto F> constexpr MsgMapEntry Create() {
    return {WM_CREATE, 0, 0, &msgmap::CallCreate<F>};
}
// void OnSetFocus(HWND oldFocus)
template <auto F> constexpr MsgMapEntry SetFocus() {
    return {WM_SETFOCUS, 0, 0, &msgmap::CallWindowArg<F>};
}
// void OnTimer(UINT_PTR timerId)
template <auto F> constexpr MsgMapEntry Timer() {
    return {WM_TIMER, 0, 0, &msgmap::CallTimer<F>};
}
// void OnPaint()
template <auto F> constexpr MsgMapEntry Paint() {
    return {WM_PAINT, 0, 0, &msgmap::CallNoArgs<F>};
}
// void OnClose()
template <auto F> constexpr MsgMapEntry Close() {
    return {WM_CLOSE, 0, 0, &msgmap::CallNoArgs<F>};
}
// LRESULT Handler(WPARAM, LPARAM) for any message
template <auto F> constexpr MsgMapEntry Message(UINT message) {
    return {message, 0, 0, &msgmap::CallRaw<F>};
}
// void OnCommand() for a menu command or accelerator
template <auto F> constexpr MsgMapEntry Command(UINT id) {
    return {WM_COMMAND, 0, id, &msgmap::CallNoArgs<F>};
}
// void OnClicked() for a push button
template <auto F> constexpr MsgMapEntry Clicked(UINT id) {
    return {WM_COMMAND, BN_CLICKED, id, &msgmap::CallNoArgs<F>};
}

} // namespace on

// In a class body: the class's table and the virtual that returns it.
#define DECLARE_MESSAGE_MAP()                                                                      \
  protected:                                                                                       \
    static const MsgMapEntry messageEntries_[];                                                    \
                                                                                                   \
  public:                                                                                          \
    static const MsgMap messageMap;                                                                \
    const MsgMap* GetMessageMap() const override {                                                 \
        return &messageMap;                                                                        \
    }

// In a source file: BEGIN_MESSAGE_MAP(Class, Base) entries... END_MESSAGE_MAP();
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const MsgMap theClass::messageMap = {&baseClass::messageMap, theClass::messageEntries_};       \
    const MsgMapEntry theClass::messageEntries_[] = {
#define END_MESSAGE_MAP()                                                                          \
    MsgMapEntry {}                                                                                 \
    }
