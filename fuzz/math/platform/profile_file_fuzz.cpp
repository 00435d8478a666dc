// The profile reader on any bytes, and the one setting the library reads.
#include "platform/profile_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const d3dx::platform::ProfileFile profile = d3dx::platform::ProfileFile::Parse(
        std::string_view(reinterpret_cast<const char*>(data), size));
    profile.GetInt("Direct3D", "debug", 0);
    return 0;
}
