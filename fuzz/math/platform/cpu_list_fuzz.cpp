// The D3DX_CPU feature list on any bytes.
#include "platform/cpu_features.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    d3dx::platform::ParseCpuFeatures(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
