// Reader of registry export files (.reg): a header line, "[ROOT\key]" lines,
// and value lines "name"=dword:0000000a, "name"="text", "name"=hex:01,02
// (also hex(<type>):..., continued over lines ending in '\'), @ for a key's
// unnamed value, "name"=- and [-ROOT\key] for removals, ';' comment lines.
// The file may be UTF-8 (with or without a byte-order mark) or UTF-16 LE with
// its byte-order mark, as the registry editor exports it.
#pragma once

#include "platform/registry_store.h"

#include <optional>
#include <string>
#include <string_view>

namespace d3dx::platform {

struct RegFileError {
    int line = 0;  // 1-based
    std::string message;
};

struct RegFileParse {
    std::optional<RegistryStore> store;  // empty when the file is malformed
    RegFileError error;
};

// Parses the bytes of a whole file, held in memory.
RegFileParse ParseRegFile(std::string_view bytes);

}  // namespace d3dx::platform
