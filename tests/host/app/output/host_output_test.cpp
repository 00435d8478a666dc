// The host program's output as the play hands it happenings: on a terminal
// a long run keeps one line up to date on standard error, and clears it.
#include "host_output.h"

#include <sstream>

#include <gtest/gtest.h>

namespace flamer_host {
namespace {

void Play(HostOutput& output) {
    output.Take(ScenarioStarted{.source = "s.txt", .commandCount = 3});
    output.Take(CommandStarted{.line = 1, .text = "flamer f pos 0 0 0"});
    output.Take(ScenarioEnded{});
}

TEST(HostOutputTest, ProgressIsShownOnlyWhenAskedAndClearedAtTheEnd) {
    std::ostringstream out;
    std::ostringstream err;
    HostOutput terminal(out, err, "",
                        ProgressLine{.shown = true, .after = std::chrono::milliseconds(0)});
    Play(terminal);
    EXPECT_NE(err.str().find("flamer_host: 0 of 3 commands played, 0 explosions"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(err.str().substr(err.str().size() - 4), "\r\x1b[K");

    std::ostringstream quietErr;
    HostOutput pipe(out, quietErr, "", ProgressLine{.shown = false});
    Play(pipe);
    EXPECT_EQ(quietErr.str(), "");
}

}  // namespace
}  // namespace flamer_host
