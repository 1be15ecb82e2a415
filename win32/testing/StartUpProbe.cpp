// The 32-bit programs' start-up and runtime pieces at work, one fact a line on standard output
// for a script to compare: the arguments as main got them, a static object built before main,
// operator new, a cut snprintf, the exit status and the atexit handler at the end.
#include <cstdio>
#include <cstdlib>

namespace {

int g_constructed = 0;

struct CBuiltBeforeMain {
    CBuiltBeforeMain() { g_constructed = 1; }
} g_builtBeforeMain;

void SayGoodbye() {
    std::fputs("atexit ran\n", stdout);
}

}  // namespace

int main(int argumentCount, char** arguments) {
    std::fprintf(stdout, "constructed %d\n", g_constructed);
    // The program's own path differs from machine to machine; the arguments after it do not.
    for (int i = 1; i < argumentCount; ++i) {
        std::fprintf(stdout, "argument %d [%s]\n", i, arguments[i]);
    }
    int* numbers = new int[4];
    numbers[3] = 7;
    std::fprintf(stdout, "new %d\n", numbers[3]);
    delete[] numbers;
    char cut[6];
    const int written = std::snprintf(cut, sizeof cut, "%s", "truncated");
    std::fprintf(stdout, "snprintf [%s] %d\n", cut, written);
    std::atexit(SayGoodbye);
    return 3;
}
