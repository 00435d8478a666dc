// The mip-chain tool's PNG reader on any bytes, handed to it as a file held
// in memory.
#include "png_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const int file = memfd_create("png_read_fuzz", 0);
    if (file < 0) return 0;
    if (write(file, data, size) == static_cast<ssize_t>(size)) {
        const std::string path = "/proc/self/fd/" + std::to_string(file);
        std::string error;
        mipchain::ReadPng(path, mipchain::PixelFormat::kArgb, error);
        mipchain::ReadPng(path, mipchain::PixelFormat::kXrgb, error);
    }
    close(file);
    return 0;
}
