#pragma once

#include "terminal/Canvas.h"

// The canvas of the ncurses screen. Styles become colour pairs, or plain attributes (reverse,
// bold, dim) on a terminal without colours and when the user asked for none (NO_COLOR); frames
// use the terminal's line drawing, which ncurses replaces by ASCII where there is none.
class CCursesCanvas : public CCanvas {
public:
    // Call once the screen is set up: decides between colours and attributes.
    static void SetUpStyles();

    int Rows() const override;
    int Cols() const override;
    void Fill(const CCellRect& rect, EStyle style) override;
    void Text(int row, int col, std::string_view text, EStyle style, int maxCols = -1) override;
    void Frame(const CCellRect& rect, EStyle style) override;
    void HorizontalLine(int row, int col, int n, EStyle style) override;
};

// Whether the user asked for no colours: NO_COLOR set to anything but the empty string.
bool ColourRefused();
