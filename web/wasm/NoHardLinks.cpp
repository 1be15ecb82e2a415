// The page's files live in its memory, which has no hard links. Emscripten's own link() says
// "too many links", which reads as a fault; this one says what a file system without hard links
// says, and the program takes the way it has for such file systems.
#include <unistd.h>

#include <cerrno>

extern "C" int link(const char* from, const char* to) {
    (void)from;
    (void)to;
    errno = ENOTSUP;
    return -1;
}
