#include "terminal/MessageBoxView.h"

#include <algorithm>

#include "terminal/TextWrap.h"

namespace {

constexpr unsigned kButtonsMask = 0x0000000Fu;
constexpr unsigned kIconMask = 0x000000F0u;
constexpr unsigned kDefaultButtonMask = 0x00000F00u;
constexpr unsigned kOkCancel = 0x1u;
constexpr unsigned kYesNoCancel = 0x3u;
constexpr unsigned kYesNo = 0x4u;
constexpr unsigned kRetryCancel = 0x5u;
constexpr unsigned kIconHand = 0x10u;
constexpr unsigned kIconQuestion = 0x20u;
constexpr unsigned kIconExclamation = 0x30u;
constexpr unsigned kIconAsterisk = 0x40u;

constexpr int kWidestBox = 78;
constexpr int kButtonGap = 2;

int ButtonCellWidth(const std::vector<CBoxButton>& buttons) {
    std::size_t widest = 0;
    for (const CBoxButton& button : buttons) {
        widest = std::max(widest, std::string(button.label).size());
    }
    return static_cast<int>(widest) + 6;  // "[> " label " <]"
}

}  // namespace

std::vector<CBoxButton> ButtonsOf(unsigned type) {
    switch (type & kButtonsMask) {
        case kOkCancel:
            return {{kBoxResultOk, "OK"}, {kBoxResultCancel, "Cancel"}};
        case kYesNoCancel:
            return {{kBoxResultYes, "Yes"}, {kBoxResultNo, "No"}, {kBoxResultCancel, "Cancel"}};
        case kYesNo:
            return {{kBoxResultYes, "Yes"}, {kBoxResultNo, "No"}};
        case kRetryCancel:
            return {{kBoxResultRetry, "Retry"}, {kBoxResultCancel, "Cancel"}};
        default:
            return {{kBoxResultOk, "OK"}};
    }
}

const char* IconGlyph(unsigned type) {
    switch (type & kIconMask) {
        case kIconHand:
            return "(X)";
        case kIconQuestion:
            return "(?)";
        case kIconExclamation:
            return "/!\\";
        case kIconAsterisk:
            return "(i)";
        default:
            return "";
    }
}

CMessageBoxView::CMessageBoxView(std::string caption, std::string text, unsigned type)
    : m_caption(std::move(caption)),
      m_text(std::move(text)),
      m_type(type),
      m_buttons(ButtonsOf(type)) {
    // MB_DEFBUTTON2 and MB_DEFBUTTON3 move the first focus as they do in Windows.
    const int requested = static_cast<int>((type & kDefaultButtonMask) >> 8);
    m_focus = std::min(requested, static_cast<int>(m_buttons.size()) - 1);
}

int CMessageBoxView::EscapeResult() const {
    for (const int wanted : {kBoxResultCancel, kBoxResultNo}) {
        for (const CBoxButton& button : m_buttons) {
            if (button.result == wanted) {
                return wanted;
            }
        }
    }
    return m_buttons.size() == 1 ? m_buttons.front().result : kBoxResultCancel;
}

void CMessageBoxView::Scroll(int lines) {
    const int last = std::max(0, static_cast<int>(m_lines.size()) - m_visibleLines);
    m_scroll = std::clamp(m_scroll + lines, 0, last);
}

int CMessageBoxView::OnKey(const CKeyEvent& event) {
    const int count = static_cast<int>(m_buttons.size());
    switch (CommandFor(EKeyContext::kMessageBox, event)) {
        case ECommand::kFocusNext:
            m_focus = (m_focus + 1) % count;
            return 0;
        case ECommand::kFocusPrevious:
            m_focus = (m_focus + count - 1) % count;
            return 0;
        case ECommand::kPressDefault:
            return m_buttons[static_cast<std::size_t>(m_focus)].result;
        case ECommand::kCancel:
            return EscapeResult();
        case ECommand::kAnswerYes:
        case ECommand::kAnswerNo: {
            const int wanted = CommandFor(EKeyContext::kMessageBox, event) == ECommand::kAnswerYes
                                   ? kBoxResultYes
                                   : kBoxResultNo;
            for (const CBoxButton& button : m_buttons) {
                if (button.result == wanted) {
                    return wanted;
                }
            }
            return 0;
        }
        case ECommand::kListUp:
            Scroll(-1);
            return 0;
        case ECommand::kListDown:
            Scroll(1);
            return 0;
        case ECommand::kListPageUp:
            Scroll(-std::max(1, m_visibleLines - 1));
            return 0;
        case ECommand::kListPageDown:
            Scroll(std::max(1, m_visibleLines - 1));
            return 0;
        default:
            return 0;
    }
}

int CMessageBoxView::OnClick(int row, int col) const {
    const CHitArea* hit = m_hits.At(row, col);
    if (hit == nullptr || hit->kind != EHitKind::kBoxButton) {
        return 0;
    }
    return m_buttons[static_cast<std::size_t>(hit->index)].result;
}

void CMessageBoxView::Layout(int screenRows, int screenCols) {
    const std::string glyph = IconGlyph(m_type);
    const int glyphCols = glyph.empty() ? 0 : static_cast<int>(glyph.size()) + 2;
    const int widest = std::min(kWidestBox, screenCols - 2);
    const int wrapWidth = std::max(8, widest - 4 - glyphCols);
    m_lines = WrapText(m_text, wrapWidth);

    int textCols = 0;
    for (const std::string& line : m_lines) {
        textCols = std::max(textCols, static_cast<int>(line.size()));
    }
    const int buttonCols = static_cast<int>(m_buttons.size()) * ButtonCellWidth(m_buttons) +
                           kButtonGap * (static_cast<int>(m_buttons.size()) - 1);
    const int inner =
        std::max({glyphCols + textCols, buttonCols, static_cast<int>(m_caption.size()) + 2});
    const int cols = std::min(inner + 4, std::max(screenCols, 1));

    // Frame, a blank line, the text, a blank line, the buttons, frame.
    const int chrome = 5;
    m_visibleLines =
        std::clamp(static_cast<int>(m_lines.size()), 1, std::max(1, screenRows - chrome));
    const int rows = m_visibleLines + chrome;
    m_box = {std::max(0, (screenRows - rows) / 2), std::max(0, (screenCols - cols) / 2), rows,
             cols};
    Scroll(0);
}

void CMessageBoxView::Paint(CCanvas& canvas) {
    Layout(canvas.Rows(), canvas.Cols());
    m_hits.Clear();
    canvas.Fill(m_box, EStyle::kDialog);
    canvas.Frame(m_box, EStyle::kDialog);
    if (!m_caption.empty()) {
        canvas.Text(m_box.row, m_box.col + 2, " " + m_caption + " ", EStyle::kCaption,
                    m_box.cols - 4);
    }

    const std::string glyph = IconGlyph(m_type);
    const int glyphCols = glyph.empty() ? 0 : static_cast<int>(glyph.size()) + 2;
    const int textRow = m_box.row + 2;
    const int textCol = m_box.col + 2;
    if (!glyph.empty()) {
        canvas.Text(textRow, textCol, glyph, EStyle::kCaption);
    }
    for (int i = 0; i < m_visibleLines; ++i) {
        const std::size_t line = static_cast<std::size_t>(m_scroll + i);
        if (line < m_lines.size()) {
            canvas.Text(textRow + i, textCol + glyphCols, m_lines[line], EStyle::kDialog,
                        m_box.cols - 4 - glyphCols);
        }
    }
    if (m_scroll > 0) {
        canvas.Text(textRow, m_box.Right() - 1, "^", EStyle::kCaption);
    }
    if (m_scroll + m_visibleLines < static_cast<int>(m_lines.size())) {
        canvas.Text(textRow + m_visibleLines - 1, m_box.Right() - 1, "v", EStyle::kCaption);
    }

    const int cell = ButtonCellWidth(m_buttons);
    const int count = static_cast<int>(m_buttons.size());
    const int total = count * cell + kButtonGap * (count - 1);
    int col = m_box.col + (m_box.cols - total) / 2;
    const int row = m_box.Bottom() - 1;
    for (int i = 0; i < count; ++i) {
        const bool focused = i == m_focus;
        const std::string label = m_buttons[static_cast<std::size_t>(i)].label;
        std::string inner = focused ? "> " + label + " <" : label;
        const int innerCols = cell - 2;
        const int pad = (innerCols - static_cast<int>(inner.size())) / 2;
        inner = std::string(static_cast<std::size_t>(std::max(pad, 0)), ' ') + inner;
        inner.resize(static_cast<std::size_t>(innerCols), ' ');
        const CCellRect rect{row, col, 1, cell};
        canvas.Text(row, col, "[" + inner + "]", focused ? EStyle::kButtonFocus : EStyle::kButton);
        m_hits.Add(rect, EHitKind::kBoxButton, i);
        col += cell + kButtonGap;
    }
}
