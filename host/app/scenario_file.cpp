#include "scenario_file.h"

#include "default_scenario.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace flamer_host {
namespace {

constexpr char kStandardInput[] = "-";
constexpr char kStandardInputName[] = "<stdin>";
constexpr std::size_t kChunk = std::size_t{1} << 16;

// Appends what `fd` holds to `text`: all of a regular file, or a stream up
// to its first NUL byte or kMaxStreamedScenario bytes.
bool ReadAll(int fd, bool regular, std::string& text, std::string& error) {
    char chunk[kChunk];
    while (true) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            return false;
        }
        if (got == 0) return true;
        const std::string_view bytes(chunk, static_cast<std::size_t>(got));
        if (regular) {
            text.append(bytes);
            continue;
        }
        const std::size_t nul = bytes.find('\0');
        text.append(bytes.substr(0, nul == std::string_view::npos ? bytes.size() : nul + 1));
        if (nul != std::string_view::npos) return true;
        if (text.size() > kMaxStreamedScenario) {
            error = "it is longer than " + std::to_string(kMaxStreamedScenario >> 20) +
                    " MiB, more than a scenario holds";
            return false;
        }
    }
}

// Closes a file it opened when it goes.
class OpenedFile {
public:
    explicit OpenedFile(int fd, bool owned) : fd_(fd), owned_(owned) {}
    ~OpenedFile() {
        if (owned_ && fd_ >= 0) close(fd_);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
    bool owned_;
};

}  // namespace

bool ReadScenario(const std::string& path, ScenarioText& scenario, std::string& error) {
    if (path.empty()) {
        scenario = {std::string(DefaultScenario()), kDefaultScenarioName};
        return true;
    }
    const bool standardInput = path == kStandardInput;
    const OpenedFile file(standardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC),
                          !standardInput);
    struct stat status {};
    if (file.Fd() < 0 || fstat(file.Fd(), &status) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        error = "it is a folder, not a file";
        return false;
    }
    scenario.source = standardInput ? kStandardInputName : path;
    const bool regular = S_ISREG(status.st_mode);
    if (regular) scenario.text.reserve(static_cast<std::size_t>(status.st_size));
    return ReadAll(file.Fd(), regular, scenario.text, error);
}

}  // namespace flamer_host
