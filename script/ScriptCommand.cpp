#include "script/ScriptCommand.h"

#include "text/TextJoin.h"

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

CScriptCommand Malformed(std::string reason) {
    CScriptCommand command;
    command.kind = CScriptCommandKind::Malformed;
    command.reason = std::move(reason);
    return command;
}

struct CCommandShape {
    const char* word;
    CScriptCommandKind kind;
    std::size_t argumentCount;
    const char* usage;
};

constexpr CCommandShape kCommands[] = {
    {"pick", CScriptCommandKind::Pick, 2, "pick CONTROL ENTRY"},
    {"click", CScriptCommandKind::Click, 1, "click CONTROL"},
    {"answer", CScriptCommandKind::Answer, 1, "answer Yes|No"},
    {"show", CScriptCommandKind::Show, 0, "show"},
    {"pace", CScriptCommandKind::PaceOff, 1, "pace off"},
};

}  // namespace

int SplitScriptWords(std::string_view line, std::vector<std::string>& words, std::string& reason) {
    words.clear();
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::size_t i = 0;
    while (i < line.size()) {
        if (IsSeparator(line[i])) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) {
                reason = "a quoted argument is not closed";
                return 0;
            }
            word.assign(line.substr(i + 1, close - i - 1));
            i = close + 1;
            if (i < line.size() && !IsSeparator(line[i])) {
                reason = JoinText("text right after the closing quote of ", Quoted(word));
                return 0;
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && !IsSeparator(line[i])) {
                if (line[i] == '"') {
                    reason = JoinText("a quote inside the unquoted argument starting ",
                                      Quoted(line.substr(start, i - start)));
                    return 0;
                }
                ++i;
            }
            word.assign(line.substr(start, i - start));
        }
        words.push_back(std::move(word));
    }
    return 1;
}

CScriptCommand ParseScriptCommand(std::string_view line) {
    // A comment is a whole line, whatever it holds; a '#' after a command is an argument.
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '#') {
        return CScriptCommand{};
    }
    std::vector<std::string> words;
    std::string reason;
    if (!SplitScriptWords(line, words, reason)) {
        return Malformed(reason);
    }
    if (words.empty()) {
        return CScriptCommand{};
    }
    for (const CCommandShape& shape : kCommands) {
        if (words.front() != shape.word) {
            continue;
        }
        const std::size_t given = words.size() - 1;
        if (given != shape.argumentCount) {
            return Malformed(JoinText(shape.word, " takes ", std::to_string(shape.argumentCount),
                                      shape.argumentCount == 1 ? " argument" : " arguments", " (",
                                      shape.usage, "), not ", std::to_string(given)));
        }
        CScriptCommand command;
        command.kind = shape.kind;
        command.arguments.assign(words.begin() + 1, words.end());
        if (shape.kind == CScriptCommandKind::Answer && command.arguments[0] != "Yes" &&
            command.arguments[0] != "No") {
            return Malformed(
                JoinText("answer takes Yes or No, not ", Quoted(command.arguments[0])));
        }
        if (shape.kind == CScriptCommandKind::PaceOff && command.arguments[0] != "off") {
            return Malformed(JoinText("pace takes only off, not ", Quoted(command.arguments[0])));
        }
        return command;
    }
    return Malformed(JoinText("unknown command ", Quoted(words.front())));
}
