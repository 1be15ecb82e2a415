#include "script/TextSink.h"

bool CFileTextSink::Write(std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) {
        return false;
    }
    return std::fflush(m_file) == 0;
}
