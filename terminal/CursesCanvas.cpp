#include "terminal/CursesCanvas.h"

#include <curses.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kStyleCount = static_cast<int>(EStyle::kStyleCount);
chtype g_attributes[kStyleCount] = {};

struct CColourStyle {
    EStyle style;
    short foreground;
    short background;
    chtype extra;
};

// Dark text on a light dialog over a blue screen; the focus in light text on blue.
constexpr CColourStyle kColours[] = {
    {EStyle::kScreen, COLOR_WHITE, COLOR_BLUE, 0},
    {EStyle::kDialog, COLOR_BLACK, COLOR_WHITE, 0},
    {EStyle::kCaption, COLOR_BLUE, COLOR_WHITE, A_BOLD},
    {EStyle::kDisabled, COLOR_BLACK, COLOR_WHITE, A_DIM},
    {EStyle::kField, COLOR_BLACK, COLOR_CYAN, 0},
    {EStyle::kFieldFocus, COLOR_WHITE, COLOR_BLUE, A_BOLD},
    {EStyle::kButton, COLOR_BLACK, COLOR_WHITE, 0},
    {EStyle::kButtonFocus, COLOR_WHITE, COLOR_BLUE, A_BOLD},
    {EStyle::kList, COLOR_BLACK, COLOR_CYAN, 0},
    {EStyle::kListHighlight, COLOR_WHITE, COLOR_BLUE, A_BOLD},
    {EStyle::kProgressDone, COLOR_WHITE, COLOR_BLUE, A_BOLD},
    {EStyle::kProgressToDo, COLOR_BLACK, COLOR_WHITE, 0},
};

// Without colours: the focus and the filled bar in reverse video, disabled text dim.
chtype MonochromeAttribute(EStyle style) {
    switch (style) {
        case EStyle::kCaption:
            return A_BOLD;
        case EStyle::kDisabled:
            return A_DIM;
        case EStyle::kFieldFocus:
        case EStyle::kButtonFocus:
        case EStyle::kListHighlight:
        case EStyle::kProgressDone:
            return A_REVERSE;
        default:
            return A_NORMAL;
    }
}

chtype AttributeOf(EStyle style) {
    return g_attributes[static_cast<int>(style)];
}

bool Clip(int& row, int& col, int& cols) {
    if (row < 0 || row >= LINES) {
        return false;
    }
    if (col < 0) {
        cols += col;
        col = 0;
    }
    cols = std::min(cols, COLS - col);
    return cols > 0;
}

}  // namespace

bool ColourRefused() {
    const char* noColour = std::getenv("NO_COLOR");
    return noColour != nullptr && noColour[0] != '\0';
}

void CCursesCanvas::SetUpStyles() {
    const bool colour =
        has_colors() && !ColourRefused() && start_color() == OK && COLOR_PAIRS > kStyleCount;
    for (int i = 0; i < kStyleCount; ++i) {
        g_attributes[i] = MonochromeAttribute(static_cast<EStyle>(i));
    }
    if (!colour) {
        return;
    }
    short pair = 1;
    for (const CColourStyle& entry : kColours) {
        // Grey text for disabled fields where the terminal has it: dim black on light grey
        // looks the same as black on many terminals.
        const short grey = 8;
        const short foreground =
            entry.style == EStyle::kDisabled && COLORS >= 16 ? grey : entry.foreground;
        init_pair(pair, foreground, entry.background);
        g_attributes[static_cast<int>(entry.style)] = COLOR_PAIR(pair) | entry.extra;
        ++pair;
    }
}

int CCursesCanvas::Rows() const {
    return LINES;
}

int CCursesCanvas::Cols() const {
    return COLS;
}

void CCursesCanvas::Fill(const CCellRect& rect, EStyle style) {
    const chtype attribute = AttributeOf(style);
    for (int r = rect.row; r < rect.row + rect.rows; ++r) {
        int row = r;
        int col = rect.col;
        int cols = rect.cols;
        if (!Clip(row, col, cols)) {
            continue;
        }
        mvhline(row, col, ' ' | attribute, cols);
    }
}

void CCursesCanvas::Text(int row, int col, std::string_view text, EStyle style, int maxCols) {
    int cols = static_cast<int>(text.size());
    if (maxCols >= 0) {
        cols = std::min(cols, maxCols);
    }
    const int skipped = col < 0 ? -col : 0;
    if (!Clip(row, col, cols)) {
        return;
    }
    const chtype attribute = AttributeOf(style);
    move(row, col);
    for (int i = 0; i < cols; ++i) {
        unsigned char ch = static_cast<unsigned char>(text[static_cast<std::size_t>(skipped + i)]);
        if (ch < 0x20 || ch >= 0x7F) {
            ch = '?';  // one cell a character, whatever the locale
        }
        addch(static_cast<chtype>(ch) | attribute);
    }
}

void CCursesCanvas::Frame(const CCellRect& rect, EStyle style) {
    if (rect.Empty()) {
        return;
    }
    const chtype attribute = AttributeOf(style);
    HorizontalLine(rect.row, rect.col + 1, rect.cols - 2, style);
    HorizontalLine(rect.Bottom(), rect.col + 1, rect.cols - 2, style);
    for (int r = rect.row + 1; r < rect.Bottom(); ++r) {
        if (r >= 0 && r < LINES) {
            if (rect.col >= 0 && rect.col < COLS) {
                mvaddch(r, rect.col, ACS_VLINE | attribute);
            }
            if (rect.Right() >= 0 && rect.Right() < COLS) {
                mvaddch(r, rect.Right(), ACS_VLINE | attribute);
            }
        }
    }
    const struct {
        int row;
        int col;
        chtype corner;
    } corners[] = {{rect.row, rect.col, ACS_ULCORNER},
                   {rect.row, rect.Right(), ACS_URCORNER},
                   {rect.Bottom(), rect.col, ACS_LLCORNER},
                   {rect.Bottom(), rect.Right(), ACS_LRCORNER}};
    for (const auto& corner : corners) {
        if (corner.row >= 0 && corner.row < LINES && corner.col >= 0 && corner.col < COLS) {
            mvaddch(corner.row, corner.col, corner.corner | attribute);
        }
    }
}

void CCursesCanvas::HorizontalLine(int row, int col, int n, EStyle style) {
    if (!Clip(row, col, n)) {
        return;
    }
    mvhline(row, col, ACS_HLINE | AttributeOf(style), n);
}
