// Where the host program finds the Flamer plug-in when no --plugin is given.
#pragma once

#include <string>

namespace flamer_host {

// The plug-in of the installed tree the program lies in, when that file
// exists: `installedPath` taken relative to `programDirectory`. Otherwise
// `builtPath`, the plug-in built beside the program. An empty
// `installedPath` or `programDirectory` means there is no installed tree.
std::string DefaultPluginPath(const std::string& programDirectory, const std::string& installedPath,
                              const std::string& builtPath);

// The folder of the running program; empty when the system does not say.
std::string ProgramDirectory();

}  // namespace flamer_host
