#pragma once

#include <string>
#include <vector>

#include "terminal/Canvas.h"

// A canvas of plain characters: what a terminal without line drawing and without colours would
// show, with the style of every cell kept beside it. Tests read it back.
class CTextCanvas : public CCanvas {
public:
    CTextCanvas(int rows, int cols);

    int Rows() const override { return m_rows; }
    int Cols() const override { return m_cols; }
    void Fill(const CCellRect& rect, EStyle style) override;
    void Text(int row, int col, std::string_view text, EStyle style, int maxCols = -1) override;
    void Frame(const CCellRect& rect, EStyle style) override;
    void HorizontalLine(int row, int col, int n, EStyle style) override;

    std::string Line(int row) const;  // the characters of one row
    char At(int row, int col) const;
    EStyle StyleAt(int row, int col) const;
    std::string Dump() const;  // every row, each ended by a line feed

private:
    void Put(int row, int col, char ch, EStyle style);

    int m_rows;
    int m_cols;
    std::vector<char> m_chars;
    std::vector<EStyle> m_styles;
};
