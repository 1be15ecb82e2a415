#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

// Where the runner's script comes from, one line at a time. The program reads it through C
// stdio rather than iostreams: the iostreams' file buffers need C runtime functions that the
// oldest Windows systems we run on do not have.
class CLineSource {
public:
    virtual ~CLineSource() = default;

    // The next line without its line feed (a carriage return before it stays); false at the
    // end. A last line without a line feed is still a line.
    virtual bool ReadLine(std::string& line) = 0;
    // Reading stopped because of an error, not because the script ended.
    virtual bool Failed() const = 0;
};

// A script in an open C stream, which the caller keeps and closes.
class CFileLineSource final : public CLineSource {
public:
    explicit CFileLineSource(std::FILE* file) : m_file(file) {}
    bool ReadLine(std::string& line) override;
    bool Failed() const override;

private:
    std::FILE* m_file;
};

// A script held in memory.
class CTextLineSource final : public CLineSource {
public:
    explicit CTextLineSource(std::string text) : m_text(std::move(text)) {}
    bool ReadLine(std::string& line) override;
    bool Failed() const override { return false; }

private:
    std::string m_text;
    std::size_t m_next = 0;
};
