#pragma once

#include "terminal/DialogLayout.h"
#include "terminal/DialogPainter.h"
#include "terminal/DialogView.h"
#include "terminal/HitMap.h"
#include "terminal/KeyTable.h"

// What the user asked of the dialog, for the host to hand to the framework.
struct CUserAction {
    enum class EType {
        kNone,      // nothing for the framework (the focus moved, a list opened or closed)
        kPick,      // controlId, index: a pick in a combo box's list
        kClick,     // controlId: a push button pressed
        kDefault,   // Enter anywhere but on a push button: the default button
        kCancel,    // Escape
        kHelp,      // show the keys
        kReadPort,  // the technician's key for the hidden dump button
        kWriteNow,  // the technician's key for the hidden write button
    };
    EType type = EType::kNone;
    int controlId = -1;
    int index = -1;
};

// The keyboard and mouse state of one dialog: which control has the focus and which list is
// open, kept as the user moves about and turned into actions.
class CDialogInteraction {
public:
    // focus: the control index the framework gave the focus, or -1 for the first tab stop.
    void Start(const CDialogView& view, int focus);
    // After the program changed the dialog: the focus follows the view's (the framework's) when
    // it names a control that can take it, a focus that can no longer stay moves on, and a list
    // whose combo box was disabled closes.
    void Sync(const CDialogView& view);

    CUserAction OnKey(const CDialogView& view, const CDialogLayout& layout, int screenRows,
                      const CKeyEvent& event);
    CUserAction OnClick(const CDialogView& view, const CDialogLayout& layout, int screenRows,
                        const CHitMap& hits, int row, int col);

    CDialogPaintState PaintState(const CDialogView& view) const;

    int Focus() const { return m_focus; }
    bool ListOpen() const { return m_openList >= 0; }
    int Highlight() const { return m_highlight; }

private:
    void MoveFocus(const CDialogView& view, int step);
    void OpenList(const CDialogView& view, const CDialogLayout& layout, int screenRows,
                  int control);
    void CloseList() { m_openList = -1; }
    void Highlight(const CDialogView& view, const CDialogLayout& layout, int screenRows, int entry);
    CUserAction OnListKey(const CDialogView& view, const CDialogLayout& layout, int screenRows,
                          const CKeyEvent& event);

    int m_focus = -1;
    int m_openList = -1;
    int m_highlight = 0;
    int m_top = 0;
};
