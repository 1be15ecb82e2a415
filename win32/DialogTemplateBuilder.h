#pragma once

#include <cstdint>

#include "framework/DialogTemplate.h"

// Assembles the in-memory extended dialog template (DLGTEMPLATEEX with its DLGITEMTEMPLATEEX
// items) that DialogBoxIndirectParam takes, from a dialog template of ours: styles, extended
// style, font, control classes, texts, IDs and rectangles in dialog units exactly as given.
// Kept free of windows.h so that the byte layout can be checked on its own.

// The system's atoms for the predefined control classes, as a resource compiler writes them.
namespace dialog_class_atom {
constexpr std::uint16_t kButton = 0x0080;
constexpr std::uint16_t kEdit = 0x0081;
constexpr std::uint16_t kStatic = 0x0082;
constexpr std::uint16_t kListBox = 0x0083;
constexpr std::uint16_t kScrollBar = 0x0084;
constexpr std::uint16_t kComboBox = 0x0085;
}  // namespace dialog_class_atom

constexpr std::uint16_t DIALOG_FONT_WEIGHT_NORMAL = 400;  // FW_NORMAL
constexpr std::uint8_t DIALOG_FONT_CHARSET_DEFAULT = 1;   // DEFAULT_CHARSET

// The atom of a predefined class name (case does not matter), 0 for any other class.
std::uint16_t PredefinedClassAtom(const char* className);

// Writes the template into buffer and returns its length in bytes, or -1 when the buffer is too
// small, a text is not plain ASCII (the template's texts are ours and always are), a rectangle
// does not fit the 16-bit fields or there are more items than the count field holds. The buffer
// must be aligned for DWORDs, as the system reads the template in place.
int BuildDialogTemplateEx(const CDialogTemplate& dialog, std::uint8_t* buffer, int size);
