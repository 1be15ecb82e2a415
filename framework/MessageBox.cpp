#include "framework/MessageBox.h"

#include "framework/Host.h"
#include "framework/MessageQueue.h"
#include "framework/WinApp.h"

namespace framework {

int SafeAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_YESNOCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDOK;
    }
}

bool OffersAnswer(UINT type, int answer) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return answer == IDOK;
        case MB_OKCANCEL:
            return answer == IDOK || answer == IDCANCEL;
        case MB_ABORTRETRYIGNORE:
            return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
        case MB_YESNOCANCEL:
            return answer == IDYES || answer == IDNO || answer == IDCANCEL;
        case MB_YESNO:
            return answer == IDYES || answer == IDNO;
        case MB_RETRYCANCEL:
            return answer == IDRETRY || answer == IDCANCEL;
        default:
            return answer == IDOK;
    }
}

int ShowMessageBox(const WindowState* owner, const char* text, const char* caption, UINT type) {
    if (QuitPending()) {
        return SafeAnswer(type);
    }
    const int answer = CurrentHost().MessageBox(LiveWindow(owner), text != nullptr ? text : "",
                                                caption != nullptr ? caption : "", type);
    return OffersAnswer(type, answer) ? answer : SafeAnswer(type);
}

}  // namespace framework

int AfxMessageBox(LPCSTR text, UINT type, UINT helpContext) {
    (void)helpContext;
    return framework::ShowMessageBox(framework::ActiveDialog(), text, AfxGetAppName(), type);
}
