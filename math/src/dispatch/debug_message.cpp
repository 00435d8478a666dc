// The library's leveled debugger output.
#include "dispatch/dispatch.h"
#include "dispatch/dispatch_internal.h"
#include "platform/platform.h"

#include <cstdarg>
#include <cstdio>

namespace d3dx {

std::atomic<int32_t> g_debugLevelCache{kDebugLevelNotRead};

namespace {

// Both the message and the line are cut to this many bytes, zero included.
constexpr size_t kMessageBufferSize = 256;
constexpr const char* kLineFormat = "D3DX: %s\r\n";

uint32_t DebugLevel() {
    int32_t level = g_debugLevelCache.load(std::memory_order_relaxed);
    if (level == kDebugLevelNotRead) {
        level = static_cast<int32_t>(platform::CurrentPlatform().GetProfileIntA(
            kProfileSection, kProfileDebugKey, kDefaultDebugLevel));
        g_debugLevelCache.store(level, std::memory_order_relaxed);
    }
    return static_cast<uint32_t>(level);
}

// snprintf-family calls whose output is cut on purpose.
int FormatInto(char (&buffer)[kMessageBufferSize], const char* format, va_list args)
    __attribute__((format(printf, 2, 0)));
int FormatInto(char (&buffer)[kMessageBufferSize], const char* format, va_list args) {
    const int written = std::vsnprintf(buffer, kMessageBufferSize, format, args);
    buffer[kMessageBufferSize - 1] = '\0';
    return written;
}

void FormatLine(char (&buffer)[kMessageBufferSize], const char* format, ...)
    __attribute__((format(printf, 2, 3)));
void FormatLine(char (&buffer)[kMessageBufferSize], const char* format, ...) {
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
}

}  // namespace

void MathDebugMessage(uint32_t level, const char* format, ...) {
    if (level > DebugLevel()) return;
    char message[kMessageBufferSize];
    va_list args;
    va_start(args, format);
    FormatInto(message, format, args);
    va_end(args);
    char line[kMessageBufferSize];
    FormatLine(line, kLineFormat, message);
    platform::WriteDebuggerLine(platform::CurrentPlatform(), line);
}

}  // namespace d3dx

extern "C" void D3DXSetDebugOutput(D3DXDebugOutputSink sink, void* context) {
    d3dx::platform::SetDebuggerSink(sink, context);
}
