#include "win32/testing/TemplateWindowCheck.h"

#include <cstdio>
#include <cstring>

namespace {

bool SameName(const char* a, const char* b) {
    return ::lstrcmpiA(a, b) == 0;
}

void Append(std::string& report, int& differences, const char* format, ...) {
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    report += line;
    report += '\n';
    ++differences;
}

// Asked of the window itself, which also works for another process's windows.
std::string TextOf(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// Dialog units to pixels as the dialog manager converts them, from the base units of the
// dialog's font: MapDialogRect knows them only inside the dialog's own process, so the same
// font is measured here as the system measures it.
bool MapDialogUnits(HWND dialog, const char* fontName, int pointSize, RECT& rect) {
    if (::MapDialogRect(dialog, &rect)) {
        return true;
    }
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) {
        return false;
    }
    const int height = -::MulDiv(pointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, fontName);
    HGDIOBJ previous = ::SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    SIZE extent = {};
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const bool measured =
        ::GetTextMetricsA(dc, &metrics) && ::GetTextExtentPoint32A(dc, kAlphabet, 52, &extent);
    ::SelectObject(dc, previous);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    if (!measured) {
        return false;
    }
    const int baseX = (extent.cx / 26 + 1) / 2;
    const int baseY = metrics.tmHeight;
    rect.left = ::MulDiv(rect.left, baseX, 4);
    rect.right = ::MulDiv(rect.right, baseX, 4);
    rect.top = ::MulDiv(rect.top, baseY, 8);
    rect.bottom = ::MulDiv(rect.bottom, baseY, 8);
    return true;
}

}  // namespace

DWORD ExpectedNativeStyle(const char* className, DWORD templateStyle) {
    if (SameName(className, "COMBOBOX")) {
        return templateStyle & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
    }
    if (SameName(className, "msctls_progress32")) {
        return templateStyle & ~static_cast<DWORD>(WS_BORDER);
    }
    return templateStyle;
}

bool IsTemplateCaption(const std::string& caption, const CDialogTemplate& dialogTemplate) {
    const std::string own = dialogTemplate.caption;
    const std::string titled = " - " + own;
    return caption == own ||
           (caption.size() > titled.size() &&
            caption.compare(caption.size() - titled.size(), titled.size(), titled) == 0);
}

int CheckDialogAgainstTemplate(HWND dialog, const CDialogTemplate& dialogTemplate,
                               std::string& report) {
    int differences = 0;
    if (!::IsWindow(dialog)) {
        Append(report, differences, "no dialog window");
        return differences;
    }
    const std::string caption = TextOf(dialog);
    if (!IsTemplateCaption(caption, dialogTemplate)) {
        Append(report, differences, "dialog caption \"%s\", template \"%s\"", caption.c_str(),
               dialogTemplate.caption);
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE));
    const DWORD systemAdded = WS_CLIPSIBLINGS | DS_3DLOOK;
    if ((style & ~systemAdded) != (dialogTemplate.style & ~systemAdded)) {
        Append(report, differences, "dialog style %08lx, template %08lx", style,
               static_cast<unsigned long>(dialogTemplate.style));
    }
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE));
    if ((exStyle & dialogTemplate.exStyle) != dialogTemplate.exStyle) {
        Append(report, differences, "dialog extended style %08lx lacks %08lx", exStyle,
               static_cast<unsigned long>(dialogTemplate.exStyle));
    }

    const bool dialogVisible = ::IsWindowVisible(dialog) != FALSE;
    HWND child = ::GetWindow(dialog, GW_CHILD);
    int index = 0;
    for (const CDialogItemTemplate& item : dialogTemplate.items) {
        ++index;
        if (child == nullptr) {
            Append(report, differences, "control %d (%s \"%s\") is missing", index, item.className,
                   item.text);
            continue;
        }
        char className[64] = {};
        ::GetClassNameA(child, className, sizeof className);
        const int id = ::GetDlgCtrlID(child);
        if (!SameName(className, item.className)) {
            Append(report, differences, "control %d: class %s, template %s", index, className,
                   item.className);
        }
        if (id != item.id) {
            Append(report, differences, "control %d (%s): ID %d, template %d", index,
                   item.className, id, item.id);
        }
        const bool isCombo = SameName(item.className, "COMBOBOX");
        const std::string text = TextOf(child);
        if (!isCombo && text != item.text) {
            Append(report, differences, "control %d (ID %d): text \"%s\", template \"%s\"", index,
                   item.id, text.c_str(), item.text);
        }
        const DWORD childStyle = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
        const DWORD expectedStyle = ExpectedNativeStyle(item.className, item.style);
        if (childStyle != expectedStyle) {
            Append(report, differences, "control %d (ID %d \"%s\"): style %08lx, expected %08lx",
                   index, item.id, item.text, childStyle, expectedStyle);
        }
        const bool shouldBeVisible = dialogVisible && (item.style & WS_VISIBLE) != 0;
        if ((::IsWindowVisible(child) != FALSE) != shouldBeVisible) {
            Append(report, differences, "control %d (ID %d \"%s\"): %s, template %s", index,
                   item.id, item.text, shouldBeVisible ? "hidden" : "visible",
                   shouldBeVisible ? "visible" : "hidden");
        }
        // The dialog manager converts position and size each on its own.
        RECT expected = {item.x, item.y, item.cx, item.cy};
        if (!MapDialogUnits(dialog, dialogTemplate.fontName, dialogTemplate.pointSize, expected)) {
            Append(report, differences, "control %d: dialog units cannot be converted", index);
        }
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual;
        ::GetWindowRect(child, &actual);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
        const bool heightDiffers = !isCombo && actual.bottom != expected.bottom;
        if (actual.left != expected.left || actual.top != expected.top ||
            actual.right != expected.right || heightDiffers) {
            Append(report, differences,
                   "control %d (ID %d \"%s\"): at %ld,%ld %ldx%ld, template %ld,%ld %ldx%ld", index,
                   item.id, item.text, actual.left, actual.top, actual.right - actual.left,
                   actual.bottom - actual.top, expected.left, expected.top,
                   expected.right - expected.left, expected.bottom - expected.top);
        }
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    for (; child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        ::GetClassNameA(child, className, sizeof className);
        Append(report, differences, "control %s ID %d is not in the template", className,
               ::GetDlgCtrlID(child));
    }
    return differences;
}
