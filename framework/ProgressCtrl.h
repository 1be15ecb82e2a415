#pragma once

#include "framework/Wnd.h"

// A progress bar bound to a dialog's control by DDX_Control: a range (0 to 100 at first) and a
// position kept inside it. PBM_SETRANGE and PBM_SETPOS sent to it do the same as these calls.
class CProgressCtrl : public CWnd {
public:
    void SetRange(short lower, short upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos);  // returns the previous position
    int GetPos() const;
};
