// The card on Windows is the configuration driver's device, or the file the user named with
// --card: it has a name, and the system's text is all there is to say about a failed open.
#include <cstring>

#include "driver/CardFileChoice.h"
#include "driver/CardIdentity.h"
#include "driver/ConfigDriver.h"

std::string CardName() {
    const char* chosen = SelectedCardFile();
    return chosen != nullptr ? chosen : CNF_DEVICE_PATH;
}

std::string CardOpenProblem(DWORD error) {
    char text[1024];
    SystemErrorText(error, text, sizeof text);
    std::size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        text[--length] = '\0';
    }
    return CardName() + ": " + (length > 0 ? text : "the system gives no reason");
}

// Only the terminal program asks, and it runs on POSIX systems; a read-only card file on
// Windows shows itself when its first write is refused.
int CardFileIsReadOnly() {
    return 0;
}
