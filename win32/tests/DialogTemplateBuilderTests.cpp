#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ui/DialogTemplates.h"
#include "ui/Resource.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/tests/LittleEndianFields.h"

namespace {

using win32_testing::DwordAt;
using win32_testing::WordAt;

// A DWORD-aligned buffer, as the system reads templates in place.
struct CTemplateBuffer {
    alignas(4) std::uint8_t bytes[8192];
};

// Builds dialog into the whole of buffer: its length, -1 when it does not fit.
int BuildInto(CTemplateBuffer& buffer, const CDialogTemplate& dialog) {
    return BuildDialogTemplateEx(dialog, buffer.bytes, sizeof buffer.bytes);
}

// A 100 x 50 dialog around one control.
CDialogTemplate OneItemDialog(const char* caption, std::uint32_t style,
                              const CDialogItemTemplate& item) {
    return {1,
            caption,
            style,
            0,
            0,
            0,
            100,
            50,
            "MS Sans Serif",
            8,
            std::span<const CDialogItemTemplate>(&item, 1)};
}

// Reads a NUL-terminated UTF-16 string of ASCII characters and moves offset past it.
std::string TextAt(const std::uint8_t* p, int& offset) {
    std::string text;
    for (std::uint16_t c = WordAt(p, offset); c != 0; c = WordAt(p, offset)) {
        text += static_cast<char>(c);
        offset += 2;
    }
    offset += 2;
    return text;
}

TEST(DialogTemplateBuilder, SetupDialogHeaderCarriesTheTemplatesStylesFontAndCaption) {
    CTemplateBuffer buffer;
    const int length = BuildInto(buffer, SetupDialogTemplate());
    ASSERT_GT(length, 0);
    const std::uint8_t* p = buffer.bytes;
    EXPECT_EQ(WordAt(p, 0), 1);       // dlgVer
    EXPECT_EQ(WordAt(p, 2), 0xFFFF);  // extended template
    EXPECT_EQ(DwordAt(p, 4), 0u);     // help ID
    EXPECT_EQ(DwordAt(p, 8), 0x00040000u);
    EXPECT_EQ(DwordAt(p, 12), 0x90C800C0u);
    EXPECT_EQ(WordAt(p, 16), 35);
    EXPECT_EQ(WordAt(p, 18), 0);
    EXPECT_EQ(WordAt(p, 20), 0);
    EXPECT_EQ(WordAt(p, 22), 320);
    EXPECT_EQ(WordAt(p, 24), 210);
    EXPECT_EQ(WordAt(p, 26), 0);  // no menu
    EXPECT_EQ(WordAt(p, 28), 0);  // system dialog class
    int offset = 30;
    EXPECT_EQ(TextAt(p, offset), "VYM Card Setup");
    EXPECT_EQ(WordAt(p, offset), 8);  // point size
    EXPECT_EQ(WordAt(p, offset + 2), 400);
    EXPECT_EQ(p[offset + 4], 0);  // not italic
    EXPECT_EQ(p[offset + 5], 1);  // DEFAULT_CHARSET
    offset += 6;
    EXPECT_EQ(TextAt(p, offset), "MS Sans Serif");
}

TEST(DialogTemplateBuilder, ItemsAreDwordAlignedWithAtomsIdsTextsAndRectangles) {
    const CDialogTemplate& dialog = SetupDialogTemplate();
    CTemplateBuffer buffer;
    const int length = BuildInto(buffer, dialog);
    ASSERT_GT(length, 0);
    const std::uint8_t* p = buffer.bytes;
    int offset = 30;
    TextAt(p, offset);
    offset += 6;
    TextAt(p, offset);
    for (const CDialogItemTemplate& item : dialog.items) {
        offset = (offset + 3) & ~3;
        EXPECT_EQ(offset % 4, 0);
        EXPECT_EQ(DwordAt(p, offset), 0u);
        EXPECT_EQ(DwordAt(p, offset + 4), 0u);
        EXPECT_EQ(DwordAt(p, offset + 8), item.style) << item.text;
        EXPECT_EQ(static_cast<std::int16_t>(WordAt(p, offset + 12)), item.x);
        EXPECT_EQ(static_cast<std::int16_t>(WordAt(p, offset + 14)), item.y);
        EXPECT_EQ(static_cast<std::int16_t>(WordAt(p, offset + 16)), item.cx);
        EXPECT_EQ(static_cast<std::int16_t>(WordAt(p, offset + 18)), item.cy);
        EXPECT_EQ(static_cast<std::int32_t>(DwordAt(p, offset + 20)), item.id);
        offset += 24;
        ASSERT_EQ(WordAt(p, offset), 0xFFFF) << "predefined classes go as atoms";
        EXPECT_EQ(WordAt(p, offset + 2), PredefinedClassAtom(item.className));
        offset += 4;
        EXPECT_EQ(TextAt(p, offset), item.text);
        EXPECT_EQ(WordAt(p, offset), 0);  // no creation data
        offset += 2;
    }
    EXPECT_EQ(offset, length);
}

TEST(DialogTemplateBuilder, ProgressBarClassIsWrittenByName) {
    CTemplateBuffer buffer;
    const int length = BuildInto(buffer, WriteEepromDialogTemplate());
    ASSERT_GT(length, 0);
    const std::uint8_t* p = buffer.bytes;
    EXPECT_EQ(DwordAt(p, 8), 0u);
    EXPECT_EQ(DwordAt(p, 12), 0x80C800C0u);
    EXPECT_EQ(WordAt(p, 16), 1);
    int offset = 30;
    EXPECT_EQ(TextAt(p, offset), "Write EEPROM Data");
    offset += 6;
    EXPECT_EQ(TextAt(p, offset), "MS Sans Serif");
    offset = (offset + 3) & ~3;
    EXPECT_EQ(DwordAt(p, offset + 8), 0x50800000u);
    EXPECT_EQ(DwordAt(p, offset + 20), static_cast<std::uint32_t>(IDC_PROGRESS));
    offset += 24;
    EXPECT_EQ(TextAt(p, offset), "msctls_progress32");
    EXPECT_EQ(TextAt(p, offset), "Progress1");
}

TEST(DialogTemplateBuilder, ClassAtomsIgnoreCaseAndLeaveOtherClassesToTheirNames) {
    EXPECT_EQ(PredefinedClassAtom("BUTTON"), 0x80);
    EXPECT_EQ(PredefinedClassAtom("Edit"), 0x81);
    EXPECT_EQ(PredefinedClassAtom("static"), 0x82);
    EXPECT_EQ(PredefinedClassAtom("ListBox"), 0x83);
    EXPECT_EQ(PredefinedClassAtom("SCROLLBAR"), 0x84);
    EXPECT_EQ(PredefinedClassAtom("ComboBox"), 0x85);
    EXPECT_EQ(PredefinedClassAtom("msctls_progress32"), 0);
    EXPECT_EQ(PredefinedClassAtom("BUTTONS"), 0);
    EXPECT_EQ(PredefinedClassAtom("BUTTO"), 0);
    EXPECT_EQ(PredefinedClassAtom(nullptr), 0);
}

TEST(DialogTemplateBuilder, RefusesEveryBufferThatIsTooSmall) {
    CTemplateBuffer buffer;
    const int length = BuildInto(buffer, SetupDialogTemplate());
    ASSERT_GT(length, 0);
    for (int size = 0; size < length; ++size) {
        ASSERT_EQ(BuildDialogTemplateEx(SetupDialogTemplate(), buffer.bytes, size), -1) << size;
    }
    EXPECT_EQ(BuildDialogTemplateEx(SetupDialogTemplate(), buffer.bytes, length), length);
    EXPECT_EQ(BuildDialogTemplateEx(SetupDialogTemplate(), nullptr, 100000), -1);
}

TEST(DialogTemplateBuilder, RefusesTextsRectanglesAndClassesItCannotWrite) {
    CTemplateBuffer buffer;
    CDialogItemTemplate item = {7, "BUTTON", "OK", 0x50010000, 1, 2, 3, 4};
    CDialogTemplate dialog = OneItemDialog("Caption", 0x80C800C0, item);
    ASSERT_GT(BuildInto(buffer, dialog), 0);

    CDialogItemTemplate wideText = item;
    wideText.text = "Gr\xC3\xBC\xC3\x9F";
    dialog.items = std::span<const CDialogItemTemplate>(&wideText, 1);
    EXPECT_EQ(BuildInto(buffer, dialog), -1);

    CDialogItemTemplate farAway = item;
    farAway.x = 40000;
    dialog.items = std::span<const CDialogItemTemplate>(&farAway, 1);
    EXPECT_EQ(BuildInto(buffer, dialog), -1);

    CDialogItemTemplate noClass = item;
    noClass.className = "";
    dialog.items = std::span<const CDialogItemTemplate>(&noClass, 1);
    EXPECT_EQ(BuildInto(buffer, dialog), -1);
    noClass.className = nullptr;
    EXPECT_EQ(BuildInto(buffer, dialog), -1);

    dialog.items = std::span<const CDialogItemTemplate>(&item, 1);
    dialog.caption = "\x80";
    EXPECT_EQ(BuildInto(buffer, dialog), -1);
}

TEST(DialogTemplateBuilder, WithoutSetFontTheFontIsLeftOut) {
    CTemplateBuffer buffer;
    CDialogItemTemplate item = {7, "BUTTON", "OK", 0x50010000, 1, 2, 3, 4};
    const CDialogTemplate dialog = OneItemDialog("C", 0x80C80080, item);
    const int length = BuildInto(buffer, dialog);
    // header 26 + menu 2 + class 2 + "C" 4, aligned to 36, item 24 + class 4 + "OK" 6 + 2
    EXPECT_EQ(length, 36 + 24 + 4 + 6 + 2);
}

// The real dialog manager takes the template: the dialog and its 35 controls are created.
INT_PTR CALLBACK AcceptingDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST(DialogTemplateBuilder, TheSystemCreatesTheSetupDialogFromIt) {
    CTemplateBuffer buffer;
    ASSERT_GT(BuildInto(buffer, SetupDialogTemplate()), 0);
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(buffer.bytes),
                                             nullptr, AcceptingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "VYM Card Setup");
    int children = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ++children;
    }
    EXPECT_EQ(children, 35);
    LOGFONTA font = {};
    ASSERT_NE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)),
                         sizeof font, &font),
              0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    DestroyWindow(dialog);
}

}  // namespace
