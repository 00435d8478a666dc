// Text from outside as messages and the report show it: control bytes are
// written as \xNN, so no name, text or command can move a terminal's cursor,
// change its colours or break a line.
#pragma once

#include <string>
#include <string_view>

namespace flamer_host {

// The text with every control byte written as \xNN.
std::string Printable(std::string_view text);
// The text printable, between two `mark` characters.
std::string Enclosed(std::string_view text, char mark);
// A word as a message shows it: between single quotes, and printable.
std::string Quoted(std::string_view word);

}  // namespace flamer_host
