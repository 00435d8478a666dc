#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace flamer_common {
namespace {

namespace fs = std::filesystem;

// New files are made readable and writable by all, as far as the umask
// lets them.
constexpr mode_t kNewFileMode = 0666;
// How many names a new file tries before it gives up.
constexpr int kNameAttempts = 100;

std::string Reason() { return std::strerror(errno); }

// A file of its own beside `path`, opened for writing: made exclusively, so
// it is never a link or a file that was there. Its name is left in `name`.
int CreateBeside(const std::string& path, std::string& name) {
    static unsigned counter = 0;
    const fs::path target(path);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string file(1, '.');
        file.append(target.filename().string())
            .append(1, '.')
            .append(std::to_string(getpid()))
            .append(1, '.')
            .append(std::to_string(counter++))
            .append(".part");
        name = (target.parent_path() / file).string();
        const int fd =
            open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool WriteFileWhole(const std::string& path, std::string_view contents, std::string& error) {
    std::string partial;
    const int fd = CreateBeside(path, partial);
    if (fd < 0) {
        error = "cannot write " + path + ": " + Reason();
        return false;
    }
    const bool written = WriteAll(fd, contents);
    const int writeErrno = errno;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(partial.c_str(), path.c_str()) != 0) {
        if (!written) errno = writeErrno;
        error = "cannot write " + path + ": " + Reason();
        unlink(partial.c_str());
        return false;
    }
    return true;
}

bool CanCreateFilesIn(const std::string& folder, std::string& error) {
    std::string probe;
    const int fd = CreateBeside((fs::path(folder) / "write-test").string(), probe);
    if (fd < 0) {
        error = Reason();
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
}

}  // namespace flamer_common
