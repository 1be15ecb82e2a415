#include "win32/CommandLineWords.h"

int SplitCommandLine(char* line, char** words, int maxWords) {
    int count = 0;
    const char* in = line;
    char* out = line;
    for (;;) {
        while (*in != '\0' && static_cast<unsigned char>(*in) <= ' ') {
            ++in;
        }
        if (*in == '\0') {
            return count;
        }
        if (count == maxWords) {
            return -1;
        }
        char* word = out;
        bool quoted = false;
        while (*in != '\0' && (quoted || static_cast<unsigned char>(*in) > ' ')) {
            int backslashes = 0;
            while (in[backslashes] == '\\') {
                ++backslashes;
            }
            if (in[backslashes] == '"') {
                for (int i = 0; i < backslashes / 2; ++i) {
                    *out++ = '\\';
                }
                if (backslashes % 2 != 0) {
                    *out++ = '"';
                } else {
                    quoted = !quoted;
                }
                in += backslashes + 1;
            } else if (backslashes > 0) {
                for (int i = 0; i < backslashes; ++i) {
                    *out++ = '\\';
                }
                in += backslashes;
            } else {
                *out++ = *in++;
            }
        }
        // The word's end: the blank after it (or the line's end) is behind out, never ahead.
        const bool atEnd = *in == '\0';
        *out++ = '\0';
        words[count++] = word;
        if (atEnd) {
            return count;
        }
        ++in;
    }
}
