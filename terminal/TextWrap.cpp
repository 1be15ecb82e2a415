#include "terminal/TextWrap.h"

#include <algorithm>

namespace {

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.emplace_back();
        } else if (ch == '\t') {
            lines.back() += ' ';
        } else if (ch < 0x20 || ch >= 0x7F) {
            lines.back() += '?';
        } else {
            lines.back() += static_cast<char>(ch);
        }
    }
    while (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width) {
    const std::size_t limit = static_cast<std::size_t>(std::max(width, 1));
    std::vector<std::string> wrapped;
    for (const std::string& line : SplitLines(text)) {
        std::string_view rest = line;
        bool broken = false;
        while (rest.size() > limit) {
            broken = true;
            std::size_t cut = rest.rfind(' ', limit);
            std::size_t next = cut + 1;
            if (cut == std::string_view::npos || cut == 0) {
                cut = limit;
                next = limit;
            }
            std::string_view head = rest.substr(0, cut);
            while (!head.empty() && head.back() == ' ') {
                head.remove_suffix(1);
            }
            wrapped.emplace_back(head);
            rest.remove_prefix(next);
            while (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);
            }
        }
        if (!broken || !rest.empty()) {
            wrapped.emplace_back(rest);
        }
    }
    return wrapped;
}

int LongestLine(std::string_view text) {
    std::size_t longest = 0;
    for (const std::string& line : SplitLines(text)) {
        longest = std::max(longest, line.size());
    }
    return static_cast<int>(longest);
}
