#include "shown_text.h"

#include <cstdio>

namespace flamer_host {

std::string Printable(std::string_view text) {
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
            continue;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        shown += escape;
    }
    return shown;
}

std::string Enclosed(std::string_view text, char mark) {
    std::string enclosed(1, mark);
    enclosed += Printable(text);
    enclosed += mark;
    return enclosed;
}

std::string Quoted(std::string_view word) { return Enclosed(word, '\''); }

}  // namespace flamer_host
