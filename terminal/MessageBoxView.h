#pragma once

#include <string>
#include <vector>

#include "terminal/Canvas.h"
#include "terminal/HitMap.h"
#include "terminal/KeyTable.h"

// Results of a message box, with the values Windows gives them.
constexpr int kBoxResultOk = 1;
constexpr int kBoxResultCancel = 2;
constexpr int kBoxResultRetry = 4;
constexpr int kBoxResultYes = 6;
constexpr int kBoxResultNo = 7;

struct CBoxButton {
    int result;
    const char* label;
};

// The buttons a message box type shows, left to right (MB_OK, MB_OKCANCEL, MB_YESNOCANCEL,
// MB_YESNO, MB_RETRYCANCEL; anything else shows OK).
std::vector<CBoxButton> ButtonsOf(unsigned type);

// The glyph that stands for the type's icon ("" when the type has none).
const char* IconGlyph(unsigned type);

// One open message box: its layout on the screen, its focused button and its scrolled text.
class CMessageBoxView {
public:
    CMessageBoxView(std::string caption, std::string text, unsigned type);

    // 0 while the box stays open, else the result that closes it.
    int OnKey(const CKeyEvent& event);
    int OnClick(int row, int col) const;
    // What the box answers when the program must close it (a hang-up, or Escape).
    int EscapeResult() const;

    // Lays the box out for the canvas and draws it on top of what is there.
    void Paint(CCanvas& canvas);

    int FocusedButton() const { return m_focus; }
    const std::vector<CBoxButton>& Buttons() const { return m_buttons; }
    const std::string& Caption() const { return m_caption; }

private:
    void Layout(int screenRows, int screenCols);
    void Scroll(int lines);

    std::string m_caption;
    std::string m_text;
    unsigned m_type;
    std::vector<CBoxButton> m_buttons;
    int m_focus = 0;
    int m_scroll = 0;

    // From the last layout.
    std::vector<std::string> m_lines;
    int m_visibleLines = 0;
    CCellRect m_box;
    CHitMap m_hits;
};
