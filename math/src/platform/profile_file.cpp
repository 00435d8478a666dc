// win.ini-style profile reader.
#include "platform/profile_file.h"

#include "platform/text_encoding.h"
#include "platform/text_util.h"

#include <cstdlib>

namespace d3dx::platform {
namespace {

constexpr char kCommentStart = ';';

bool IsSectionLine(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

int32_t LeadingInteger(std::string_view value) {
    const std::string text(value);
    return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

}  // namespace

ProfileFile ProfileFile::Parse(std::string_view bytes) {
    // Undecodable bytes at the end are ignored like any other junk.
    const std::string decoded = DecodeText(bytes).text;
    std::string_view text = decoded;
    ProfileFile profile;
    std::string_view section;
    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = TrimSpaces(NextLine(text));
        if (line.empty() || line.front() == kCommentStart) continue;
        if (IsSectionLine(line)) {
            section = TrimSpaces(line.substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        profile.SetValue(section, TrimSpaces(line.substr(0, equals)),
                         TrimSpaces(line.substr(equals + 1)));
    }
    return profile;
}

uint32_t ProfileFile::GetInt(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const auto s = sections_.find(section);
    if (s == sections_.end()) return static_cast<uint32_t>(defaultValue);
    const auto k = s->second.find(key);
    if (k == s->second.end()) return static_cast<uint32_t>(defaultValue);
    return static_cast<uint32_t>(LeadingInteger(k->second));
}

void ProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    Section& keys = sections_.try_emplace(std::string(section)).first->second;
    keys.insert_or_assign(std::string(key), std::string(value));
}

}  // namespace d3dx::platform
