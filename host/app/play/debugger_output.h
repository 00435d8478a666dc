// The debugger output of the modules' math libraries, which the host program
// shows in its report as the engine's console would: each library writes its
// lines where D3DX_DEBUG_OUTPUT says, and unless the person running the
// program chose a place, the host has them written to an in-memory file of
// its own and reads them back after every call into a module.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace flamer_host {

class DebuggerOutput {
public:
    // Points D3DX_DEBUG_OUTPUT at a new in-memory file; null when the
    // variable is set already, or no such file can be made.
    static std::unique_ptr<DebuggerOutput> Capture();
    ~DebuggerOutput();
    DebuggerOutput(const DebuggerOutput&) = delete;
    DebuggerOutput& operator=(const DebuggerOutput&) = delete;

    // The whole lines written since the last call, without their line ends.
    std::vector<std::string> TakeLines();

private:
    explicit DebuggerOutput(int fd) : fd_(fd) {}

    int fd_;
    long long read_ = 0;   // bytes read so far
    std::string partial_;  // a line not yet ended
};

}  // namespace flamer_host
