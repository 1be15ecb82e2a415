#pragma once

#include "framework/Wnd.h"

// A combo box bound to a dialog's control by DDX_Control. Its state lives in the window:
// entries in insertion order with their item data, the selection and the shown text. Nothing
// the program does here notifies the dialog; only a user's pick sends CBN_SELCHANGE.
class CComboBox : public CWnd {
public:
    // index -1 appends; the sort style does not reorder. Returns the index, CB_ERR on a bad one.
    int InsertString(int index, LPCSTR text);
    int GetCount() const;                        // 0 before the window exists
    int SetItemData(int index, DWORD_PTR data);  // CB_ERR for a bad index
    DWORD_PTR GetItemData(int index) const;      // CB_ERR for a bad index
    int SetCurSel(int index);  // -1 or a bad index: no selection, no text; returns CB_ERR then
    int GetCurSel() const;     // CB_ERR (-1) when nothing is selected
    // The text of entry index, cut to size-1 characters; its full length, CB_ERR for a bad
    // index.
    int GetLBText(int index, LPSTR buffer, int size) const;
};
