#include "win32/DialogTemplateBuilder.h"

#include <initializer_list>

namespace {

constexpr std::uint16_t kDialogVersion = 1;
constexpr std::uint16_t kExtendedSignature = 0xFFFF;
constexpr std::uint16_t kOrdinalMarker = 0xFFFF;
constexpr std::uint32_t kSetFont = template_style::kSetFont;
constexpr std::uint32_t kShellFont = 0x00000048u;  // DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

// Appends little-endian fields to the caller's buffer; once anything does not fit, every later
// write is refused too and the writer reports failure.
class CTemplateWriter {
public:
    CTemplateWriter(std::uint8_t* buffer, int size) : m_buffer(buffer), m_size(size) {}

    void Word(std::uint16_t value) {
        Bytes({static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)});
    }
    void Dword(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Byte(std::uint8_t value) { Bytes({value}); }

    void Short(int value) {
        if (value < -32768 || value > 32767) {
            m_failed = true;
            return;
        }
        Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }

    // A NUL-terminated UTF-16 string; our texts are ASCII, which widens one to one.
    void Text(const char* text) {
        for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
            const auto c = static_cast<unsigned char>(*p);
            if (c >= 0x80) {
                m_failed = true;
                return;
            }
            Word(c);
        }
        Word(0);
    }

    void AlignToDword() {
        while (!m_failed && m_length % 4 != 0) {
            Byte(0);
        }
    }

    int Result() const { return m_failed ? -1 : m_length; }

private:
    void Bytes(std::initializer_list<std::uint8_t> bytes) {
        if (m_failed || m_buffer == nullptr || static_cast<int>(bytes.size()) > m_size - m_length) {
            m_failed = true;
            return;
        }
        for (std::uint8_t b : bytes) {
            m_buffer[m_length++] = b;
        }
    }

    std::uint8_t* m_buffer;
    int m_size;
    int m_length = 0;
    bool m_failed = false;
};

}  // namespace

std::uint16_t PredefinedClassAtom(const char* className) {
    struct CNamedAtom {
        const char* name;
        std::uint16_t atom;
    };
    static constexpr CNamedAtom kAtoms[] = {
        {"BUTTON", dialog_class_atom::kButton},       {"EDIT", dialog_class_atom::kEdit},
        {"STATIC", dialog_class_atom::kStatic},       {"LISTBOX", dialog_class_atom::kListBox},
        {"SCROLLBAR", dialog_class_atom::kScrollBar}, {"COMBOBOX", dialog_class_atom::kComboBox},
    };
    if (className == nullptr) {
        return 0;
    }
    for (const CNamedAtom& entry : kAtoms) {
        if (SameWindowClass(className, entry.name)) {
            return entry.atom;
        }
    }
    return 0;
}

int BuildDialogTemplateEx(const CDialogTemplate& dialog, std::uint8_t* buffer, int size) {
    if (dialog.items.size() > 0xFFFF) {
        return -1;
    }
    CTemplateWriter out(buffer, size);

    out.Word(kDialogVersion);
    out.Word(kExtendedSignature);
    out.Dword(0);  // help context
    out.Dword(dialog.exStyle);
    out.Dword(dialog.style);
    out.Word(static_cast<std::uint16_t>(dialog.items.size()));
    out.Short(dialog.x);
    out.Short(dialog.y);
    out.Short(dialog.cx);
    out.Short(dialog.cy);
    out.Word(0);  // no menu
    out.Word(0);  // the system's dialog class
    out.Text(dialog.caption);
    if ((dialog.style & kSetFont) != 0 || (dialog.style & kShellFont) == kShellFont) {
        out.Word(static_cast<std::uint16_t>(dialog.pointSize));
        out.Word(DIALOG_FONT_WEIGHT_NORMAL);
        out.Byte(0);  // not italic
        out.Byte(DIALOG_FONT_CHARSET_DEFAULT);
        out.Text(dialog.fontName);
    }

    for (const CDialogItemTemplate& item : dialog.items) {
        if (item.className == nullptr || item.className[0] == '\0') {
            return -1;
        }
        out.AlignToDword();
        out.Dword(0);  // help context
        out.Dword(0);  // extended style
        out.Dword(item.style);
        out.Short(item.x);
        out.Short(item.y);
        out.Short(item.cx);
        out.Short(item.cy);
        out.Dword(static_cast<std::uint32_t>(item.id));  // -1 stays -1: no ID
        const std::uint16_t atom = PredefinedClassAtom(item.className);
        if (atom != 0) {
            out.Word(kOrdinalMarker);
            out.Word(atom);
        } else {
            out.Text(item.className);
        }
        out.Text(item.text);
        out.Word(0);  // no creation data
    }
    return out.Result();
}
