#include "plugin_location.h"

#include <filesystem>
#include <system_error>

namespace flamer_host {

namespace fs = std::filesystem;

std::string DefaultPluginPath(const std::string& programDirectory, const std::string& installedPath,
                              const std::string& builtPath) {
    if (programDirectory.empty() || installedPath.empty()) return builtPath;
    const fs::path installed = (fs::path(programDirectory) / installedPath).lexically_normal();
    std::error_code error;
    return fs::is_regular_file(installed, error) ? installed.string() : builtPath;
}

std::string ProgramDirectory() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

}  // namespace flamer_host
