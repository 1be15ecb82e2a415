#include "terminal/TerminalSession.h"

#include <curses.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "terminal/CursesCanvas.h"

namespace {

// Signal handlers only set a flag and wake the reader through this pipe.
int g_wakePipe[2] = {-1, -1};
volatile std::sig_atomic_t g_hangUp = 0;
volatile std::sig_atomic_t g_endingSignal = 0;  // the first signal that asked to end
volatile std::sig_atomic_t g_resized = 0;
volatile std::sig_atomic_t g_screenActive = 0;

void Wake() {
    if (g_wakePipe[1] >= 0) {
        const char byte = 1;
        const ssize_t written = write(g_wakePipe[1], &byte, 1);
        (void)written;  // a full pipe wakes the reader just as well
    }
}

void OnHangUp(int signalNumber) {
    if (g_endingSignal == 0) {
        g_endingSignal = signalNumber;
    }
    g_hangUp = 1;
    Wake();
}

void OnResize(int) {
    g_resized = 1;
    Wake();
}

// A crash must not leave the user with a screen in raw mode: put it back, then die as the
// signal would have made us die.
void OnCrash(int signalNumber) {
    if (g_screenActive != 0) {
        g_screenActive = 0;
        endwin();
    }
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

void RestoreAtExit() {
    if (g_screenActive != 0) {
        g_screenActive = 0;
        endwin();
    }
}

void Catch(int signalNumber, void (*handler)(int), int flags) {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;  // no SA_RESTART: a signal ends the wait at once
    sigaction(signalNumber, &action, nullptr);
}

void DrainWakePipe() {
    char buffer[64];
    while (read(g_wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

constexpr int kAltDownFallback = KEY_MAX + 1;

// The keys as xterm-like terminals send them (tmux among them), for terminal descriptions that
// know other sequences or none: Shift-Tab, F1 to F4, F11, F12 and Alt-Down then still work.
void DefineFallbackKeys(int altDown) {
    const struct {
        const char* sequence;
        int code;
    } keys[] = {
        {"\033[Z", KEY_BTAB},   {"\033OP", KEY_F(1)},    {"\033OQ", KEY_F(2)},
        {"\033OR", KEY_F(3)},   {"\033OS", KEY_F(4)},    {"\033[11~", KEY_F(1)},
        {"\033[14~", KEY_F(4)}, {"\033[23~", KEY_F(11)}, {"\033[24~", KEY_F(12)},
        {"\033[1;3B", altDown}, {"\033\033[B", altDown}, {"\033\033OB", altDown},
        {"\033[A", KEY_UP},     {"\033[B", KEY_DOWN},    {"\033[C", KEY_RIGHT},
        {"\033[D", KEY_LEFT},   {"\033OA", KEY_UP},      {"\033OB", KEY_DOWN},
        {"\033OC", KEY_RIGHT},  {"\033OD", KEY_LEFT},    {"\033[5~", KEY_PPAGE},
        {"\033[6~", KEY_NPAGE}, {"\033[H", KEY_HOME},    {"\033[F", KEY_END},
        {"\033OH", KEY_HOME},   {"\033OF", KEY_END},     {"\033[1~", KEY_HOME},
        {"\033[4~", KEY_END},
    };
    for (const auto& key : keys) {
        if (key_defined(key.sequence) == 0) {
            define_key(key.sequence, key.code);
        }
    }
}

// The keys curses reports by a code of their own; the terminal's Alt-Down, Escape, resizes and
// the mouse are read apart because they need more than the code.
struct CCursesKey {
    int code;
    EKey key;
};

constexpr CCursesKey kCursesKeys[] = {
    {'\t', EKey::kTab},         {KEY_BTAB, EKey::kBackTab},   {KEY_UP, EKey::kUp},
    {KEY_DOWN, EKey::kDown},    {KEY_LEFT, EKey::kLeft},      {KEY_RIGHT, EKey::kRight},
    {KEY_PPAGE, EKey::kPageUp}, {KEY_NPAGE, EKey::kPageDown}, {KEY_HOME, EKey::kHome},
    {KEY_A1, EKey::kHome},                             // the keypad's upper left
    {KEY_END, EKey::kEnd},      {KEY_C1, EKey::kEnd},  // the keypad's lower left
    {'\r', EKey::kEnter},       {'\n', EKey::kEnter},         {KEY_ENTER, EKey::kEnter},
    {' ', EKey::kSpace},        {KEY_F(1), EKey::kF1},        {KEY_F(4), EKey::kF4},
    {KEY_F(11), EKey::kF11},    {KEY_F(12), EKey::kF12},
};

// A code bound twice would leave its second row dead without a word; refuse it when compiling.
constexpr bool EachCursesCodeOnce() {
    for (std::size_t i = 0; i < std::size(kCursesKeys); ++i) {
        for (std::size_t j = i + 1; j < std::size(kCursesKeys); ++j) {
            if (kCursesKeys[i].code == kCursesKeys[j].code) {
                return false;
            }
        }
    }
    return true;
}
static_assert(EachCursesCodeOnce(), "a curses code is bound to two keys");

EKey KeyOfCursesCode(int code) {
    for (const CCursesKey& entry : kCursesKeys) {
        if (entry.code == code) {
            return entry.key;
        }
    }
    return EKey::kNone;
}

// A click of the first button or a turn of the wheel; any other mouse event is nothing.
void ReadMouse(CTerminalInput& input) {
    MEVENT event;
    input.type = CTerminalInput::EType::kNothing;
    if (getmouse(&event) != OK) {
        return;
    }
    input.row = event.y;
    input.col = event.x;
    if ((event.bstate & (BUTTON1_PRESSED | BUTTON1_CLICKED)) != 0) {
        input.type = CTerminalInput::EType::kClick;
    } else if ((event.bstate & BUTTON4_PRESSED) != 0) {
        input.type = CTerminalInput::EType::kWheelUp;
    } else if ((event.bstate & BUTTON5_PRESSED) != 0) {
        input.type = CTerminalInput::EType::kWheelDown;
    }
}

}  // namespace

CTerminalSession::~CTerminalSession() {
    Stop();
}

bool CTerminalSession::Start(std::string& error) {
    if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
        error =
            "standard input and output must be a terminal (vymsetup-script runs the program "
            "without one)";
        return false;
    }
    std::setlocale(LC_ALL, "");
    if (pipe(g_wakePipe) != 0) {
        error = std::string("cannot set up: ") + std::strerror(errno);
        return false;
    }
    for (int end : g_wakePipe) {
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
        fcntl(end, F_SETFD, FD_CLOEXEC);
    }

    // Ours before ncurses looks: it leaves handlers alone that are set already.
    Catch(SIGHUP, OnHangUp, 0);
    Catch(SIGTERM, OnHangUp, 0);
    Catch(SIGINT, OnHangUp, 0);
    Catch(SIGQUIT, OnHangUp, 0);
    Catch(SIGWINCH, OnResize, 0);
    for (int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        Catch(crash, OnCrash, SA_RESETHAND);
    }
    signal(SIGPIPE, SIG_IGN);

    if (newterm(nullptr, stdout, stdin) == nullptr) {
        const char* term = std::getenv("TERM");
        error = std::string("cannot use the terminal type '") + (term != nullptr ? term : "") + "'";
        return false;
    }
    m_started = true;
    g_screenActive = 1;
    std::atexit(RestoreAtExit);

    // A terminal that cannot place the cursor (TERM=dumb) cannot show a dialog.
    char cursorAddress[] = "cup";
    const char* cup = tigetstr(cursorAddress);
    if (cup == nullptr || cup == reinterpret_cast<char*>(-1)) {
        Stop();
        const char* term = std::getenv("TERM");
        error = std::string("the terminal type '") + (term != nullptr ? term : "") +
                "' cannot place the cursor";
        return false;
    }

    cbreak();
    noecho();
    nonl();
    intrflush(stdscr, FALSE);
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(50);
    curs_set(0);
    m_altDownKey = key_defined("\033[1;3B") > 0 ? key_defined("\033[1;3B") : kAltDownFallback;
    DefineFallbackKeys(m_altDownKey);
    mousemask(BUTTON1_PRESSED | BUTTON1_CLICKED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
    mouseinterval(0);
    CCursesCanvas::SetUpStyles();
    ApplyPendingResize();
    return true;
}

void CTerminalSession::Stop() {
    if (!m_started) {
        return;
    }
    m_started = false;
    if (g_screenActive != 0) {
        g_screenActive = 0;
        endwin();
    }
}

bool CTerminalSession::HangUpSeen() const {
    return g_hangUp != 0;
}

int CTerminalSession::EndingSignal() const {
    return g_endingSignal;
}

bool CTerminalSession::ApplyPendingResize() {
    g_resized = 0;
    struct winsize size;
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) {
        return false;
    }
    if (size.ws_row == LINES && size.ws_col == COLS) {
        return false;
    }
    resizeterm(size.ws_row, size.ws_col);
    clearok(curscr, TRUE);  // the terminal may have rearranged what it showed
    return true;
}

void CTerminalSession::DiscardTypeAhead() {
    flushinp();
}

CTerminalInput CTerminalSession::ReadOneKey(bool& consumed) {
    CTerminalInput input;
    const int ch = getch();
    consumed = ch != ERR;
    if (ch == ERR) {
        return input;
    }
    input.type = CTerminalInput::EType::kKey;
    CKeyEvent& key = input.key;
    if (ch == 27) {
        // Escape alone, or Escape then Down from a terminal that sends Alt as a prefix.
        const int next = getch();
        if (next == KEY_DOWN) {
            key.key = EKey::kAltDown;
        } else {
            if (next != ERR) {
                ungetch(next);
            }
            key.key = EKey::kEscape;
        }
    } else if (ch == KEY_RESIZE) {
        input.type = CTerminalInput::EType::kResized;
    } else if (ch == KEY_MOUSE) {
        ReadMouse(input);
    } else if (const EKey named = KeyOfCursesCode(ch); named != EKey::kNone) {
        key.key = named;
    } else if (ch == m_altDownKey) {
        key.key = EKey::kAltDown;
    } else if (ch > ' ' && ch < 0x7F) {
        key.key = EKey::kCharacter;
        key.character = static_cast<char>(ch);
    } else {
        input.type = CTerminalInput::EType::kNothing;  // a key nothing is bound to
    }
    return input;
}

CTerminalInput CTerminalSession::Read(int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (g_hangUp != 0) {
            return {CTerminalInput::EType::kHangUp, {}, 0, 0};
        }
        if (g_resized != 0) {
            DrainWakePipe();
            if (ApplyPendingResize()) {
                return {CTerminalInput::EType::kResized, {}, 0, 0};
            }
        }
        // ncurses may hold keys it read already; take those before waiting.
        bool consumed = false;
        const CTerminalInput buffered = ReadOneKey(consumed);
        if (buffered.type != CTerminalInput::EType::kNothing) {
            return buffered;
        }
        if (consumed) {
            continue;  // a key nothing is bound to, or a mouse release: look at the next one
        }

        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return {};
            }
            wait = static_cast<int>(left.count());
        }
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_wakePipe[0], POLLIN, 0}};
        const int ready = poll(fds, 2, wait);
        if (ready < 0 && errno != EINTR) {
            g_hangUp = 1;
            continue;
        }
        if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            g_hangUp = 1;  // the terminal is gone
        }
        if ((fds[1].revents & POLLIN) != 0) {
            DrainWakePipe();
        }
    }
}

bool CTerminalSession::FollowResize() {
    if (g_resized == 0) {
        return false;
    }
    DrainWakePipe();
    return ApplyPendingResize();
}
