#include "cli/WriteProgress.h"

#include <cstdio>

#include "cli/MonotonicClock.h"
#include "driver/WritePace.h"
#include "text/TextJoin.h"

namespace {

constexpr int kBarWidth = 30;

std::string TimeLeft(std::uint64_t milliseconds) {
    char text[32];
    const std::uint64_t tenths = (milliseconds + 50) / 100;
    if (tenths < 600) {
        std::snprintf(text, sizeof text, "%u.%u s left", static_cast<unsigned>(tenths / 10),
                      static_cast<unsigned>(tenths % 10));
    } else {
        const std::uint64_t seconds = (milliseconds + 500) / 1000;
        std::snprintf(text, sizeof text, "%u min %02u s left", static_cast<unsigned>(seconds / 60),
                      static_cast<unsigned>(seconds % 60));
    }
    return text;
}

}  // namespace

std::string ProgressLine(int written, int total, std::uint64_t elapsedMs) {
    if (total <= 0) {
        return std::string();
    }
    const int filled = static_cast<int>(static_cast<long long>(written) * kBarWidth / total);
    const std::uint64_t left = static_cast<std::uint64_t>(total - written);
    const std::uint64_t perByte =
        written > 0 ? elapsedMs / static_cast<std::uint64_t>(written) : WRITE_PAUSE_MS;
    return JoinText("[", std::string(static_cast<std::size_t>(filled), '#'),
                    std::string(static_cast<std::size_t>(kBarWidth - filled), '.'), "] ",
                    std::to_string(written), "/", std::to_string(total), " bytes, ",
                    TimeLeft(left * perByte));
}

void CProgressBar::PhaseStarted(WritePhase phase) {
    if (phase == WritePhase::Write) {
        m_startMs = MonotonicMs();
    }
}

void CProgressBar::BytesWritten(int written, int total) {
    Draw(ProgressLine(written, total, MonotonicMs() - m_startMs));
}

void CProgressBar::Finished() {
    if (m_drawn) {
        std::fputc('\n', m_terminal);
        std::fflush(m_terminal);
        m_drawn = false;
    }
}

void CProgressBar::Draw(const std::string& line) {
    // Back to the start of the line, and spaces over whatever a longer line left.
    std::fputc('\r', m_terminal);
    std::fputs(line.c_str(), m_terminal);
    for (std::size_t i = line.size(); i < m_drawnLength; ++i) {
        std::fputc(' ', m_terminal);
    }
    std::fflush(m_terminal);
    m_drawnLength = line.size();
    m_drawn = true;
}
