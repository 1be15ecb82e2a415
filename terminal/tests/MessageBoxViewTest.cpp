#include <gtest/gtest.h>

#include "terminal/MessageBoxView.h"
#include "terminal/TextCanvas.h"

namespace {

constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kQuestion = 0x20;
constexpr unsigned kExclamation = 0x30;
constexpr unsigned kInformation = 0x40;
constexpr unsigned kDefaultButton2 = 0x100;

CKeyEvent Key(EKey key) {
    return {key, 0};
}

CKeyEvent Character(char ch) {
    return {EKey::kCharacter, ch};
}

// The row and column of the first place text is shown, or {-1, -1}.
std::pair<int, int> Find(const CTextCanvas& canvas, const std::string& text) {
    for (int row = 0; row < canvas.Rows(); ++row) {
        const std::size_t at = canvas.Line(row).find(text);
        if (at != std::string::npos) {
            return {row, static_cast<int>(at)};
        }
    }
    return {-1, -1};
}

TEST(MessageBoxButtons, FollowTheType) {
    ASSERT_EQ(ButtonsOf(kOk).size(), 1u);
    EXPECT_EQ(ButtonsOf(kOk)[0].result, kBoxResultOk);
    ASSERT_EQ(ButtonsOf(kYesNo | kQuestion).size(), 2u);
    EXPECT_EQ(ButtonsOf(kYesNo | kQuestion)[0].result, kBoxResultYes);
    EXPECT_EQ(ButtonsOf(kYesNo | kQuestion)[1].result, kBoxResultNo);
    EXPECT_EQ(ButtonsOf(0x1).size(), 2u);  // MB_OKCANCEL
    EXPECT_EQ(ButtonsOf(0x3).size(), 3u);  // MB_YESNOCANCEL
    EXPECT_EQ(ButtonsOf(0xE).size(), 1u);  // unknown: OK
}

TEST(MessageBoxGlyphs, FollowTheIcon) {
    EXPECT_STREQ(IconGlyph(kOk), "");
    EXPECT_STREQ(IconGlyph(0x10), "(X)");
    EXPECT_STREQ(IconGlyph(kQuestion | kYesNo), "(?)");
    EXPECT_STREQ(IconGlyph(kExclamation), "/!\\");
    EXPECT_STREQ(IconGlyph(kInformation), "(i)");
}

TEST(MessageBoxKeys, YesIsTheDefaultOfAQuestion) {
    CMessageBoxView box("Write EEPROM", "Settings are changed.", kYesNo | kQuestion);
    EXPECT_EQ(box.FocusedButton(), 0);
    EXPECT_EQ(box.OnKey(Key(EKey::kEnter)), kBoxResultYes);
}

TEST(MessageBoxKeys, TabMovesToNoAndRoundAgain) {
    CMessageBoxView box("c", "t", kYesNo);
    EXPECT_EQ(box.OnKey(Key(EKey::kTab)), 0);
    EXPECT_EQ(box.OnKey(Key(EKey::kSpace)), kBoxResultNo);
    EXPECT_EQ(box.OnKey(Key(EKey::kRight)), 0);
    EXPECT_EQ(box.FocusedButton(), 0);
    EXPECT_EQ(box.OnKey(Key(EKey::kLeft)), 0);
    EXPECT_EQ(box.FocusedButton(), 1);
}

TEST(MessageBoxKeys, LettersAndEscapeAnswer) {
    CMessageBoxView question("c", "t", kYesNo);
    EXPECT_EQ(question.OnKey(Character('n')), kBoxResultNo);
    EXPECT_EQ(question.OnKey(Character('Y')), kBoxResultYes);
    EXPECT_EQ(question.OnKey(Key(EKey::kEscape)), kBoxResultNo);
    EXPECT_EQ(question.EscapeResult(), kBoxResultNo);

    CMessageBoxView warning("c", "t", kOk | kExclamation);
    EXPECT_EQ(warning.OnKey(Character('y')), 0);  // there is no Yes to give
    EXPECT_EQ(warning.OnKey(Key(EKey::kEscape)), kBoxResultOk);
}

TEST(MessageBoxKeys, SecondDefaultButtonTakesTheFirstFocus) {
    CMessageBoxView box("c", "t", kYesNo | kDefaultButton2);
    EXPECT_EQ(box.FocusedButton(), 1);
    EXPECT_EQ(box.OnKey(Key(EKey::kEnter)), kBoxResultNo);
}

TEST(MessageBoxPicture, CentredWithCaptionGlyphTextAndButtons) {
    CTextCanvas canvas(24, 80);
    CMessageBoxView box("VYM Card Setup", "IRQ Overlap on WSS and Midi 1", kOk | kExclamation);
    box.Paint(canvas);
    const auto [captionRow, captionCol] = Find(canvas, " VYM Card Setup ");
    const auto [textRow, textCol] = Find(canvas, "IRQ Overlap on WSS and Midi 1");
    const auto [glyphRow, glyphCol] = Find(canvas, "/!\\");
    const auto [buttonRow, buttonCol] = Find(canvas, "[> OK <]");
    ASSERT_GE(captionRow, 0);
    ASSERT_GE(textRow, 0);
    EXPECT_EQ(glyphRow, textRow);
    EXPECT_LT(glyphCol, textCol);
    EXPECT_LT(captionRow, textRow);
    EXPECT_GT(buttonRow, textRow);
    // Centred: the frame's corners are as far from the left as from the right.
    const std::string top = canvas.Line(captionRow);
    const std::size_t left = top.find('+');
    const std::size_t right = top.rfind('+');
    EXPECT_NEAR(static_cast<double>(left), static_cast<double>(79 - right), 1.0);
    EXPECT_NEAR((captionRow + canvas.Rows() - 1 - (buttonRow + 1)) / 2.0, captionRow, 1.0);
}

TEST(MessageBoxPicture, LongTextIsWrappedInsideTheScreen) {
    CTextCanvas canvas(24, 40);
    const std::string text(150, 'x');
    CMessageBoxView box("c", "word " + text, kOk | kInformation);
    box.Paint(canvas);
    int textRows = 0;
    for (int row = 0; row < canvas.Rows(); ++row) {
        const std::string line = canvas.Line(row);
        if (line.find("xxxx") != std::string::npos) {
            ++textRows;
            EXPECT_EQ(line.front(), ' ');
            EXPECT_EQ(line.back(), ' ');
        }
    }
    EXPECT_GE(textRows, 5);
}

TEST(MessageBoxPicture, TextTallerThanTheScreenScrolls) {
    CTextCanvas canvas(10, 80);
    std::string text;
    for (int i = 0; i < 20; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    CMessageBoxView box("c", text, kOk);
    box.Paint(canvas);
    EXPECT_GE(Find(canvas, "line 0").first, 0);
    EXPECT_LT(Find(canvas, "line 19").first, 0);
    EXPECT_GE(Find(canvas, "[> OK <]").first, 0);  // the button always shows
    box.OnKey(Key(EKey::kPageDown));
    box.OnKey(Key(EKey::kPageDown));
    box.OnKey(Key(EKey::kPageDown));
    box.OnKey(Key(EKey::kPageDown));
    CTextCanvas after(10, 80);
    box.Paint(after);
    EXPECT_LT(Find(after, "line 0 ").first, 0);
    EXPECT_GE(Find(after, "line 19").first, 0);
    box.OnKey(Key(EKey::kDown));  // past the end: stays
    CTextCanvas still(10, 80);
    box.Paint(still);
    EXPECT_GE(Find(still, "line 19").first, 0);
}

TEST(MessageBoxMouse, AClickOnAButtonAnswersAndElsewhereNothing) {
    CTextCanvas canvas(24, 80);
    CMessageBoxView box("Write EEPROM", "Write?", kYesNo | kQuestion);
    box.Paint(canvas);
    const auto [noRow, noCol] = Find(canvas, "No ");
    ASSERT_GE(noRow, 0);
    EXPECT_EQ(box.OnClick(noRow, noCol), kBoxResultNo);
    const auto [yesRow, yesCol] = Find(canvas, "Yes");
    EXPECT_EQ(box.OnClick(yesRow, yesCol), kBoxResultYes);
    EXPECT_EQ(box.OnClick(0, 0), 0);
    EXPECT_EQ(box.OnClick(yesRow - 2, yesCol), 0);
}

}  // namespace
