#pragma once

#include <cstdint>
#include <span>

#include "text/AsciiCase.h"

// A dialog template as data, the one source every front end builds its windows from:
// positions and sizes are in dialog units, styles are the Windows style bits.
struct CDialogItemTemplate {
    int id;                 // -1: the control has no ID
    const char* className;  // "BUTTON", "COMBOBOX", "STATIC", "msctls_progress32"
    const char* text;
    std::uint32_t style;
    int x, y, cx, cy;
};

struct CDialogTemplate {
    int id;
    const char* caption;
    std::uint32_t style;
    std::uint32_t exStyle;
    int x, y, cx, cy;
    const char* fontName;
    int pointSize;
    std::span<const CDialogItemTemplate> items;  // in template order, which is the tab order
};

// Window class names compare without regard to case, as Windows compares them ("Button" is
// "BUTTON"); class names are ASCII.
constexpr bool SameWindowClass(const char* a, const char* b) {
    return SameIgnoringAsciiCase(a, b);
}

// Window style bits the templates use, with the values Windows gives them (named apart from
// the Windows macros so that both can be seen at once in the Windows front end).
namespace template_style {
constexpr std::uint32_t kPopup = 0x80000000u;
constexpr std::uint32_t kChild = 0x40000000u;
constexpr std::uint32_t kVisible = 0x10000000u;
constexpr std::uint32_t kDisabled = 0x08000000u;
constexpr std::uint32_t kCaption = 0x00C00000u;
constexpr std::uint32_t kBorder = 0x00800000u;
constexpr std::uint32_t kVScroll = 0x00200000u;
constexpr std::uint32_t kSysMenu = 0x00080000u;
constexpr std::uint32_t kGroup = 0x00020000u;
constexpr std::uint32_t kTabStop = 0x00010000u;
constexpr std::uint32_t kModalFrame = 0x00000080u;  // DS_MODALFRAME
constexpr std::uint32_t kSetFont = 0x00000040u;     // DS_SETFONT
constexpr std::uint32_t kButtonTypeMask = 0x0000000Fu;
constexpr std::uint32_t kDefPushButton = 0x00000001u;
constexpr std::uint32_t kGroupBox = 0x00000007u;
constexpr std::uint32_t kDropDown = 0x00000002u;   // CBS_DROPDOWN
constexpr std::uint32_t kSort = 0x00000100u;       // CBS_SORT
constexpr std::uint32_t kAppWindow = 0x00040000u;  // WS_EX_APPWINDOW
}  // namespace template_style

// Dialog units to pixels, for the client sizes the framework gives its windows: a horizontal
// unit is a quarter of the dialog font's average character width, a vertical unit an eighth of
// its height.
namespace dialog_units {
constexpr int kBaseUnitX = 6;   // average character width of the dialog font, pixels
constexpr int kBaseUnitY = 13;  // character height
constexpr int kUnitsPerBaseX = 4;
constexpr int kUnitsPerBaseY = 8;

constexpr int ToPixelsX(int units) {
    return units * kBaseUnitX / kUnitsPerBaseX;
}
constexpr int ToPixelsY(int units) {
    return units * kBaseUnitY / kUnitsPerBaseY;
}
}  // namespace dialog_units
