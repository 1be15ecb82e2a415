#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// The steps of `vymcnf write`, in order.
enum class WritePhase { Read, Backup, Write, Verify };

// Told how a write goes: the progress bar on a terminal, and whoever else wants to know (the
// benchmark times the steps).
class CWriteListener {
public:
    virtual void PhaseStarted(WritePhase phase) { (void)phase; }
    // After each byte and its pause: written of total bytes are on the card.
    virtual void BytesWritten(int written, int total) {
        (void)written;
        (void)total;
    }
    // The command is over, however it ended.
    virtual void Finished() {}

protected:
    ~CWriteListener() = default;
};

// The progress line: a bar, the bytes written and the time left, estimated from the time per
// byte so far (20 ms a byte before the first is written).
std::string ProgressLine(int written, int total, std::uint64_t elapsedMs);

// Draws the progress line on a terminal, redrawn in place after each byte.
class CProgressBar final : public CWriteListener {
public:
    explicit CProgressBar(std::FILE* terminal) : m_terminal(terminal) {}

    void PhaseStarted(WritePhase phase) override;
    void BytesWritten(int written, int total) override;
    void Finished() override;

private:
    void Draw(const std::string& line);

    std::FILE* m_terminal;
    std::uint64_t m_startMs = 0;
    std::size_t m_drawnLength = 0;
    bool m_drawn = false;
};

// A listener that is told nothing worth showing: output that is not a terminal.
class CQuietListener final : public CWriteListener {};
