// Runs the host program as a person runs it, in a folder of its own, and
// keeps what it printed.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace flamer_host::testing {

namespace fs = std::filesystem;

constexpr int kRunFailed = 1;
constexpr int kBadInput = 2;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Builds a text by appending its parts.
inline std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

inline std::string ShellQuoted(const fs::path& path) { return Cat({"'", path.string(), "'"}); }

inline std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class HostProgramTest : public ::testing::Test {
protected:
    HostProgramTest()
        : dir(fs::temp_directory_path() / Cat({"flamer_host_test_", std::to_string(getpid())})) {
        fs::create_directories(dir);
    }
    ~HostProgramTest() override { fs::remove_all(dir); }

    // Runs `program` (the host program unless given) with `args` from the
    // test's folder, under the command `wrapper` when one is given (such as
    // "prlimit --fsize=1000 --").
    Outcome Run(const std::string& args, const std::string& program = FLAMER_HOST_PATH,
                const std::string& wrapper = "") {
        const fs::path out = dir / "stdout";
        const fs::path err = dir / "stderr";
        const std::string command =
            Cat({"cd ", ShellQuoted(dir), " && ", wrapper, " '", program, "' ", args, " >",
                 ShellQuoted(out), " 2>", ShellQuoted(err)});
        const int raw = std::system(command.c_str());
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }

    fs::path Script(const std::string& name, const std::string& text) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    fs::path dir;
};

}  // namespace flamer_host::testing
