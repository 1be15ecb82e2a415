#include "script/LineSource.h"

bool CFileLineSource::ReadLine(std::string& line) {
    line.clear();
    bool any = false;
    for (int c = std::getc(m_file); c != EOF; c = std::getc(m_file)) {
        any = true;
        if (c == '\n') {
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    return any;
}

bool CFileLineSource::Failed() const {
    return std::ferror(m_file) != 0;
}

bool CTextLineSource::ReadLine(std::string& line) {
    line.clear();
    if (m_next >= m_text.size()) {
        return false;
    }
    const std::size_t end = m_text.find('\n', m_next);
    if (end == std::string::npos) {
        line.assign(m_text, m_next, std::string::npos);
        m_next = m_text.size();
    } else {
        line.assign(m_text, m_next, end - m_next);
        m_next = end + 1;
    }
    return true;
}
