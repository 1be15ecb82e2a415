#include "terminal/TextCanvas.h"

CTextCanvas::CTextCanvas(int rows, int cols)
    : m_rows(rows),
      m_cols(cols),
      m_chars(static_cast<std::size_t>(rows * cols), ' '),
      m_styles(static_cast<std::size_t>(rows * cols), EStyle::kScreen) {}

void CTextCanvas::Put(int row, int col, char ch, EStyle style) {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) {
        return;
    }
    const std::size_t at = static_cast<std::size_t>(row * m_cols + col);
    m_chars[at] = ch;
    m_styles[at] = style;
}

void CTextCanvas::Fill(const CCellRect& rect, EStyle style) {
    for (int r = rect.row; r < rect.row + rect.rows; ++r) {
        for (int c = rect.col; c < rect.col + rect.cols; ++c) {
            Put(r, c, ' ', style);
        }
    }
}

void CTextCanvas::Text(int row, int col, std::string_view text, EStyle style, int maxCols) {
    int written = 0;
    for (char ch : text) {
        if (maxCols >= 0 && written >= maxCols) {
            break;
        }
        Put(row, col + written, ch, style);
        ++written;
    }
}

void CTextCanvas::Frame(const CCellRect& rect, EStyle style) {
    if (rect.Empty()) {
        return;
    }
    HorizontalLine(rect.row, rect.col, rect.cols, style);
    HorizontalLine(rect.Bottom(), rect.col, rect.cols, style);
    for (int r = rect.row; r <= rect.Bottom(); ++r) {
        const bool corner = r == rect.row || r == rect.Bottom();
        Put(r, rect.col, corner ? '+' : '|', style);
        Put(r, rect.Right(), corner ? '+' : '|', style);
    }
}

void CTextCanvas::HorizontalLine(int row, int col, int n, EStyle style) {
    for (int c = col; c < col + n; ++c) {
        Put(row, c, '-', style);
    }
}

std::string CTextCanvas::Line(int row) const {
    if (row < 0 || row >= m_rows) {
        return {};
    }
    return std::string(m_chars.begin() + row * m_cols, m_chars.begin() + (row + 1) * m_cols);
}

char CTextCanvas::At(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) {
        return '\0';
    }
    return m_chars[static_cast<std::size_t>(row * m_cols + col)];
}

EStyle CTextCanvas::StyleAt(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) {
        return EStyle::kScreen;
    }
    return m_styles[static_cast<std::size_t>(row * m_cols + col)];
}

std::string CTextCanvas::Dump() const {
    std::string dump;
    for (int r = 0; r < m_rows; ++r) {
        dump += Line(r);
        dump += '\n';
    }
    return dump;
}
