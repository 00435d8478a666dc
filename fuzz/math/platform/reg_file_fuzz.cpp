// The registry export reader on any bytes.
#include "platform/reg_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    d3dx::platform::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
