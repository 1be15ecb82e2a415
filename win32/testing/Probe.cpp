// vymprobe.exe: looks at the windows of a running vymsetup from outside, as the Wine tests
// need it: the message box of a failed open and the setup dialog against its template.
//
//   vymprobe open-failure-box TIMEOUT_MS   exactly one message box, with an OK button and the
//                                          system's text for the error that opening the card
//                                          gives; prints its caption
//   vymprobe check-dialog TIMEOUT_MS       the visible setup dialog's controls against
//                                          template 102; prints each combo box's state
//   vymprobe title TIMEOUT_MS              prints the setup dialog's title bar once it is shown
//   vymprobe count-boxes                   prints the number of visible dialog windows
//   vymprobe combo ID                      prints the setup dialog's combo box ID as shown
//                                          now: its text and whether its list is dropped
//   vymprobe write-factory-image PATH      writes the factory EEPROM image, for a file card
//
// Exit status 0 when what was looked for is there, 1 when not, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/ConfigDriver.h"
#include "pnp/FactoryImage.h"
#include "ui/DialogTemplates.h"
#include "win32/testing/TemplateWindowCheck.h"

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kPollMs = 100;

// The window's text as the window itself gives it: GetWindowText would only give another
// process's windows their stored caption, not a combo box's shown text.
std::string TextOf(HWND window) {
    char text[2048] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
    if (::IsWindowVisible(window) && ClassOf(window) == kDialogClass) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> VisibleDialogs() {
    std::vector<HWND> dialogs;
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::vector<HWND> DirectChildren(HWND window) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

// Makes an unprintable text readable on one line: line ends as \r and \n.
std::string Printable(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool WaitFor(int timeoutMs, bool (*ready)()) {
    for (int waited = 0;; waited += kPollMs) {
        if (ready()) {
            return true;
        }
        if (waited >= timeoutMs) {
            return false;
        }
        ::Sleep(kPollMs);
    }
}

// The text the system gives for the error that opening the configuration device gives here.
std::string ExpectedOpenFailureText(DWORD& code) {
    HANDLE device = ::CreateFileA(CNF_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    if (device != INVALID_HANDLE_VALUE) {
        ::CloseHandle(device);
        code = 0;
        return std::string();
    }
    code = ::GetLastError();
    char* text = nullptr;
    ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0,
        nullptr);
    std::string result = text != nullptr ? text : "";
    ::LocalFree(text);
    return result;
}

int OpenFailureBox(int timeoutMs) {
    DWORD code = 0;
    const std::string expected = ExpectedOpenFailureText(code);
    if (code == 0) {
        std::printf("the configuration device opens here: no failure to look for\n");
        return 1;
    }
    if (!WaitFor(timeoutMs, [] { return !VisibleDialogs().empty(); })) {
        std::printf("no message box within %d ms\n", timeoutMs);
        return 1;
    }
    ::Sleep(500);  // a second box, or the dialog, would show by now
    const std::vector<HWND> boxes = VisibleDialogs();
    if (boxes.size() != 1) {
        std::printf("%zu dialog windows are visible, not one\n", boxes.size());
        return 1;
    }
    HWND box = boxes.front();
    int buttons = 0;
    int icons = 0;
    bool okButton = false;
    bool textFound = false;
    std::string texts;
    for (HWND child : DirectChildren(box)) {
        const std::string className = ClassOf(child);
        const std::string text = TextOf(child);
        if (::lstrcmpiA(className.c_str(), "Button") == 0 && ::IsWindowVisible(child)) {
            ++buttons;
            okButton = okButton || text == "OK";
        } else if (::lstrcmpiA(className.c_str(), "Static") == 0) {
            if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                ++icons;
            } else if (!text.empty()) {
                textFound = textFound || text == expected;
                texts += " \"" + Printable(text) + "\"";
            }
        }
    }
    std::printf("caption=%s\n", TextOf(box).c_str());
    std::printf("error=%lu expected=\"%s\" shown:%s\n", static_cast<unsigned long>(code),
                Printable(expected).c_str(), texts.c_str());
    if (buttons != 1 || !okButton) {
        std::printf("the box has %d buttons, not one OK button\n", buttons);
        return 1;
    }
    if (icons != 1) {
        std::printf("the box shows %d icons, not one\n", icons);
        return 1;
    }
    if (!textFound) {
        std::printf("the box does not hold the system's text for error %lu\n",
                    static_cast<unsigned long>(code));
        return 1;
    }
    return 0;
}

HWND FindSetupDialog() {
    for (HWND dialog : VisibleDialogs()) {
        if (IsTemplateCaption(TextOf(dialog), SetupDialogTemplate()) &&
            DirectChildren(dialog).size() == SetupDialogTemplate().items.size()) {
            return dialog;
        }
    }
    return nullptr;
}

int CheckDialog(int timeoutMs) {
    if (!WaitFor(timeoutMs, [] { return FindSetupDialog() != nullptr; })) {
        std::printf("no setup dialog within %d ms\n", timeoutMs);
        return 1;
    }
    ::Sleep(300);  // let the initialisation's last changes land
    HWND dialog = FindSetupDialog();
    std::string report;
    const int differences = CheckDialogAgainstTemplate(dialog, SetupDialogTemplate(), report);
    for (HWND child : DirectChildren(dialog)) {
        if (::lstrcmpiA(ClassOf(child).c_str(), "ComboBox") != 0) {
            continue;
        }
        const int count = static_cast<int>(::SendMessageA(child, CB_GETCOUNT, 0, 0));
        const int selection = static_cast<int>(::SendMessageA(child, CB_GETCURSEL, 0, 0));
        std::printf("combo %d enabled=%d selection=%d text=\"%s\" entries=%d\n",
                    ::GetDlgCtrlID(child), ::IsWindowEnabled(child) ? 1 : 0, selection,
                    TextOf(child).c_str(), count);
    }
    std::printf("%s", report.c_str());
    std::printf("%d differences from template %d\n", differences, SetupDialogTemplate().id);
    return differences == 0 ? 0 : 1;
}

// What a key typed at the dialog has done by now, for the caller to wait on.
int ShowCombo(int id) {
    HWND dialog = FindSetupDialog();
    HWND combo = dialog != nullptr ? ::GetDlgItem(dialog, id) : nullptr;
    if (combo == nullptr) {
        std::printf("no combo box %d in a visible setup dialog\n", id);
        return 1;
    }
    const bool dropped = ::SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    std::printf("text=%s dropped=%d\n", TextOf(combo).c_str(), dropped ? 1 : 0);
    return 0;
}

int WriteFactoryImage(const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::printf("cannot create %s\n", path);
        return 1;
    }
    const auto& image = FactoryImage();
    const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    if (std::fclose(file) != 0 || !written) {
        std::printf("cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "open-failure-box") == 0) {
        return OpenFailureBox(std::atoi(argv[2]));
    }
    if (argc == 3 && std::strcmp(argv[1], "check-dialog") == 0) {
        return CheckDialog(std::atoi(argv[2]));
    }
    if (argc == 3 && std::strcmp(argv[1], "title") == 0) {
        if (!WaitFor(std::atoi(argv[2]), [] { return FindSetupDialog() != nullptr; })) {
            std::printf("no setup dialog\n");
            return 1;
        }
        std::printf("%s\n", TextOf(FindSetupDialog()).c_str());
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "count-boxes") == 0) {
        std::printf("%zu\n", VisibleDialogs().size());
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "combo") == 0) {
        return ShowCombo(std::atoi(argv[2]));
    }
    if (argc == 3 && std::strcmp(argv[1], "write-factory-image") == 0) {
        return WriteFactoryImage(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: vymprobe open-failure-box MS | check-dialog MS | title MS | count-boxes | "
                 "combo ID | write-factory-image PATH\n");
    return 2;
}
