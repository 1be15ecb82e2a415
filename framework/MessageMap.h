#pragma once

#include "wintypes/WinTypes.h"

class CCmdTarget;

namespace framework {

// Handler forms a map entry can hold. Each entry holds exactly one; the macros below convert
// the member function of the derived class with static_cast, which keeps the signature checked
// and the call well defined.
using VoidHandler = void (CCmdTarget::*)();
using TimerHandler = void (CCmdTarget::*)(UINT_PTR);
using IconHandler = HCURSOR (CCmdTarget::*)();

struct MessageMapEntry {
    UINT message;  // WM_COMMAND, WM_PAINT, ...; 0 ends the table
    UINT code;     // notification code of WM_COMMAND (BN_CLICKED, CBN_SELCHANGE)
    UINT id;       // control or command ID of WM_COMMAND
    VoidHandler onVoid;
    TimerHandler onTimer;
    IconHandler onIcon;
};

struct MessageMap {
    const MessageMap* (*base)();  // the base class's map, nullptr for the root
    const MessageMapEntry* entries;
};

template <class T>
constexpr VoidHandler AsVoidHandler(void (T::*handler)()) {
    return static_cast<VoidHandler>(handler);
}
template <class T>
constexpr TimerHandler AsTimerHandler(void (T::*handler)(UINT_PTR)) {
    return static_cast<TimerHandler>(handler);
}
template <class T>
constexpr IconHandler AsIconHandler(HCURSOR (T::*handler)()) {
    return static_cast<IconHandler>(handler);
}

}  // namespace framework

// In the class: DECLARE_MESSAGE_MAP(). Beside the handlers:
//   BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
//       ON_WM_PAINT()
//       ON_BN_CLICKED(IDC_READ_PORT, OnReadPort)
//   END_MESSAGE_MAP()
// The class's own entries are searched first, in order, then its base class's map.
#define DECLARE_MESSAGE_MAP()                                       \
protected:                                                          \
    static const ::framework::MessageMap* GetThisMessageMap();      \
    const ::framework::MessageMap* GetMessageMap() const override { \
        return GetThisMessageMap();                                 \
    }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                     \
    const ::framework::MessageMap* theClass::GetThisMessageMap() { \
        using ThisClass [[maybe_unused]] = theClass;               \
        using TheBaseClass = baseClass;                            \
        static const ::framework::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                                   \
    { 0, 0, 0, nullptr, nullptr, nullptr }                                                  \
    }                                                                                       \
    ;                                                                                       \
    static const ::framework::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                                            \
    }

#define ON_COMMAND(id, memberFxn)                                  \
    {WM_COMMAND,                                                   \
     BN_CLICKED,                                                   \
     static_cast<UINT>(id),                                        \
     ::framework::AsVoidHandler<ThisClass>(&ThisClass::memberFxn), \
     nullptr,                                                      \
     nullptr},
#define ON_CONTROL(code, id, memberFxn)                            \
    {WM_COMMAND,                                                   \
     static_cast<UINT>(code),                                      \
     static_cast<UINT>(id),                                        \
     ::framework::AsVoidHandler<ThisClass>(&ThisClass::memberFxn), \
     nullptr,                                                      \
     nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, ::framework::AsVoidHandler<ThisClass>(&ThisClass::OnPaint), nullptr, nullptr},
#define ON_WM_QUERYDRAGICON() \
    {                         \
        WM_QUERYDRAGICON,     \
        0,                    \
        0,                    \
        nullptr,              \
        nullptr,              \
        ::framework::AsIconHandler<ThisClass>(&ThisClass::OnQueryDragIcon)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, nullptr, ::framework::AsTimerHandler<ThisClass>(&ThisClass::OnTimer), nullptr},
