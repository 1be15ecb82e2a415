#pragma once

#include "framework/MessageMap.h"
#include "wintypes/WinTypes.h"

// Root of every class with a message map.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Finds the first entry for message in the class's map, then in each base map, and calls
    // its handler; FALSE when no entry takes the message. WM_COMMAND entries match on control
    // ID (LOWORD(wParam)) and notification code (HIWORD(wParam)).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    static const ::framework::MessageMap* GetThisMessageMap();
    virtual const ::framework::MessageMap* GetMessageMap() const;
};
