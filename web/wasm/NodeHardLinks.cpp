// Hard links for the runner under Node. Emscripten's own link() fails every time ("too many
// links"); the runner works on the real file system, so it makes the link there, and saving a
// backup or the default card behaves as in the native build.
#include <emscripten.h>
#include <unistd.h>

#include <cerrno>

// Returns 0, or the errno value of Node's failure (EIO when it has none). JavaScript, which
// clang-format would take apart as C++.
// clang-format off
EM_JS(int, NodeLink, (const char* from, const char* to), {
    try {
        require('fs').linkSync(UTF8ToString(from), UTF8ToString(to));
        return 0;
    } catch (error) {
        const code = error && error.code && ERRNO_CODES[error.code];
        return code !== undefined ? code : ERRNO_CODES.EIO;
    }
});
// clang-format on

extern "C" int link(const char* from, const char* to) {
    const int failure = NodeLink(from, to);
    if (failure != 0) {
        errno = failure;
        return -1;
    }
    return 0;
}
