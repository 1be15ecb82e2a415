#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of a script of user actions, as the unattended runner understands it.
enum class CScriptCommandKind {
    Skip,     // blank line or comment
    Pick,     // pick CONTROL ENTRY
    Click,    // click CONTROL
    Answer,   // answer Yes|No
    Show,     // show
    PaceOff,  // pace off
    Malformed,
};

struct CScriptCommand {
    CScriptCommandKind kind = CScriptCommandKind::Skip;
    std::vector<std::string> arguments;  // without the command word, quotes removed
    std::string reason;                  // why the line is malformed
};

// Splits a line into words: separated by spaces or tabs, a word holding spaces written in
// double quotes. Returns 1, or 0 with reason set when a quote is not closed or a quoted word
// runs into other text. A carriage return at the end (a script saved on Windows) is dropped.
int SplitScriptWords(std::string_view line, std::vector<std::string>& words, std::string& reason);

// The command a line holds, with its arguments checked for number and, where the command
// takes a fixed word, for that word. Control names are checked later against the dialog.
CScriptCommand ParseScriptCommand(std::string_view line);
