// The text of a registry export or profile file as UTF-8. Such files come as
// UTF-8 or ASCII, possibly behind a UTF-8 byte-order mark, or as UTF-16
// little-endian behind its byte-order mark, which is how the registry editor
// writes its exports.
#pragma once

#include <string>
#include <string_view>

namespace d3dx::platform {

struct DecodedText {
    std::string text;   // UTF-8, without a byte-order mark
    std::string error;  // empty, or why the bytes are not valid text; text then
                        // holds what came before the fault
    int errorLine = 0;  // 1-based line of the fault
};

// UTF-16 surrogates that do not pair up become U+FFFD. A UTF-16 file with an
// odd number of bytes, and big-endian UTF-16, are errors.
DecodedText DecodeText(std::string_view bytes);

}  // namespace d3dx::platform
