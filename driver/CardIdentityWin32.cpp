// The card on Windows is the configuration driver's device: it has a name, and the system's
// text is all there is to say about a failed open.
#include <cstring>

#include "driver/CardIdentity.h"
#include "driver/ConfigDriver.h"

std::string CardName() {
    return CNF_DEVICE_PATH;
}

std::string CardOpenProblem(DWORD error) {
    char text[1024];
    SystemErrorText(error, text, sizeof text);
    std::size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        text[--length] = '\0';
    }
    return std::string("couldn't open ") + CNF_DEVICE_PATH + ": " +
           (length > 0 ? text : "the system gives no reason");
}

int CardFileIsReadOnly() {
    return 0;
}
