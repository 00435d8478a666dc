// A win.ini-style profile: "[Section]" lines and "key=value" lines, both
// names matched without regard to letter case; ';' starts a comment line.
#pragma once

#include "platform/text_util.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace d3dx::platform {

class ProfileFile {
public:
    // Parses the bytes of a whole file, held in memory: UTF-8 (with or
    // without a byte-order mark) or UTF-16 LE with its byte-order mark.
    // Lines that are neither a section, a key nor a comment are ignored, as
    // the system's own profile reader does.
    static ProfileFile Parse(std::string_view bytes);

    // The value as a decimal integer (optional sign, leading digits, 0 when
    // it starts with no digit); defaultValue when the key is missing.
    uint32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // Sets one key of one section (creating both), as a "key=value" line does.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

private:
    using Section = std::map<std::string, std::string, LessIgnoringCase>;
    std::map<std::string, Section, LessIgnoringCase> sections_;
};

}  // namespace d3dx::platform
