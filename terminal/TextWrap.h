#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of a message text as a box shows them: every line end ("\r\n", "\n" or "\r")
// starts a new line, a line longer than width is broken after its last space that fits (or cut
// when it has none), tabs become spaces and other control or non-ASCII bytes a '?', so that
// every character takes exactly one cell. Line ends at the very end of the text add no empty
// lines.
std::vector<std::string> WrapText(std::string_view text, int width);

// The widest line of a text without wrapping, in cells.
int LongestLine(std::string_view text);
