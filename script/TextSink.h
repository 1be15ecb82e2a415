#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Where the runner's events go. Each piece is handed on at once (a reader of the stream sees
// every event as it happens); once a write fails, nothing more is written.
class CTextSink {
public:
    virtual ~CTextSink() = default;

    // Writes text in full and passes it on; false when it could not.
    virtual bool Write(std::string_view text) = 0;
};

// An open C stream, flushed after every write; the caller keeps and closes it.
class CFileTextSink final : public CTextSink {
public:
    explicit CFileTextSink(std::FILE* file) : m_file(file) {}
    bool Write(std::string_view text) override;

private:
    std::FILE* m_file;
};

// Text collected in memory.
class CStringTextSink final : public CTextSink {
public:
    bool Write(std::string_view text) override {
        m_text.append(text);
        return true;
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
