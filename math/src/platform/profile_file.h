// A win.ini-style profile: "[Section]" lines and "key=value" lines, both
// names matched without regard to letter case; ';' starts a comment line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace d3dx::platform {

class ProfileFile {
public:
    // Lines that are neither a section, a key nor a comment are ignored,
    // as the system's own profile reader does.
    static ProfileFile Parse(std::string_view text);

    // The value as a decimal integer (optional sign, leading digits, 0 when
    // it starts with no digit); defaultValue when the key is missing.
    uint32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

}  // namespace d3dx::platform
