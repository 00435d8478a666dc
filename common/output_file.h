// Writing a program's output files safely: a file appears under its name
// only whole, nothing is ever written through a link or file someone planted
// under a name, and a failure says why (the system's reason, such as "No
// space left on device") and leaves what stood under the name as it was.
#pragma once

#include <string>
#include <string_view>

namespace flamer_common {

// Writes `contents` to a new file in `path`'s folder, created exclusively
// (never through a link or file that is there), then renames it over
// `path`. A `path` that is a symbolic link is replaced by the file, its
// target left alone. False, with the reason in `error`, when any step
// fails; the new file is then removed.
bool WriteFileWhole(const std::string& path, std::string_view contents, std::string& error);

// Whether new files can be made in `folder`: one is made exclusively under a
// name of its own and removed again. False, with the reason in `error`.
bool CanCreateFilesIn(const std::string& folder, std::string& error);

}  // namespace flamer_common
