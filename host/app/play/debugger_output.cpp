#include "debugger_output.h"

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace flamer_host {
namespace {

constexpr char kDebugOutputVariable[] = "D3DX_DEBUG_OUTPUT";
constexpr std::size_t kChunk = 4096;

}  // namespace

std::unique_ptr<DebuggerOutput> DebuggerOutput::Capture() {
    const char* chosen = std::getenv(kDebugOutputVariable);
    if (chosen != nullptr && *chosen != '\0') return nullptr;
    const int fd = memfd_create("flamer_host-debugger-output", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (setenv(kDebugOutputVariable, path.c_str(), 1) != 0) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<DebuggerOutput>(new DebuggerOutput(fd));
}

DebuggerOutput::~DebuggerOutput() { close(fd_); }

std::vector<std::string> DebuggerOutput::TakeLines() {
    char chunk[kChunk];
    ssize_t got;
    while ((got = pread(fd_, chunk, sizeof chunk, read_)) > 0) {
        partial_.append(chunk, static_cast<std::size_t>(got));
        read_ += got;
    }
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string line = partial_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    partial_.erase(0, start);
    return lines;
}

}  // namespace flamer_host
