#include "driver/StandardStreams.h"

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

int OpenStandardStreams() {
#ifndef _WIN32
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open gives the lowest free descriptor, which is this one while the lower ones are
        // open; anything else means the system does not work as expected, so stop here.
        const int opened = open("/dev/null", O_RDONLY | O_NOCTTY);
        if (opened != descriptor) {
            if (opened >= 0) {
                close(opened);
            }
            return 0;
        }
    }
#endif
    return 1;
}

bool StreamWentOut(std::FILE* file, int* error) {
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    *error = flushed ? 0 : errno;
    if (flushed && std::ferror(file) == 0) {
        return true;
    }
#ifndef _WIN32
    // An earlier write failed and its reason is gone; a descriptor that takes nothing at all
    // (closed, or open for reading only) tells it again for an empty write.
    if (*error == 0 && write(fileno(file), "", 0) < 0) {
        *error = errno;
    }
#endif
    return false;
}

void TellStreamFailure(std::FILE* other, const char* program, const char* stream, int error) {
    std::fprintf(other, "%s: couldn't write to standard %s%s%s\n", program, stream,
                 error != 0 ? ": " : "", error != 0 ? std::strerror(error) : "");
    std::fflush(other);
}

int FinishStandardStreams(const char* program, int status) {
    int outError = 0;
    int errError = 0;
    const bool outWent = StreamWentOut(stdout, &outError);
    const bool errWent = StreamWentOut(stderr, &errError);
    if (!outWent) {
        TellStreamFailure(stderr, program, "output", outError);
    } else if (!errWent) {
        TellStreamFailure(stdout, program, "error", errError);
    }
    if (outWent && errWent) {
        return status;
    }
    return status != 0 ? status : 1;
}
