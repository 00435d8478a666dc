// The program's own sink for the debug output: it takes every line, with its
// context, in place of the debugger output, until a null sink restores it.
#include "d3dx_math.h"
#include "dispatch/dispatch.h"
#include "dispatch/test_hooks.h"
#include "platform/fake_platform.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

struct Collected {
    std::vector<std::string> lines;
};

void Collect(const char* line, void* context) {
    static_cast<Collected*>(context)->lines.emplace_back(line);
}

void Ignore(const char*, void*) {}

class DebugOutputSink : public ::testing::Test {
protected:
    ~DebugOutputSink() override { D3DXSetDebugOutput(nullptr, nullptr); }

    platform::ScopedFakePlatform fake_;
};

TEST_F(DebugOutputSink, TakesEveryLineInsteadOfTheDebuggerOutput) {
    Collected collected;
    D3DXSetDebugOutput(&Collect, &collected);
    MathDebugMessage(0, "(INFO) %s", "to the sink");
    MathDebugMessage(3, "below the level: filtered before any sink");
    EXPECT_EQ(collected.lines, std::vector<std::string>{"D3DX: (INFO) to the sink\r\n"});
    EXPECT_TRUE(fake_->DebugLines().empty());
}

TEST_F(DebugOutputSink, ReceivesTheSelectionLineOfTheFirstCall) {
    Collected collected;
    D3DXSetDebugOutput(&Collect, &collected);
    fake_->SetDword("DisablePSGP", 1);
    RestoreFirstCallEntries();
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1.0f, 2.0f, 3.0f);
    RestoreFirstCallEntries();
    EXPECT_EQ(collected.lines,
              std::vector<std::string>{"D3DX: (INFO) CPU optimization disabled. Using x87 "
                                       "Instructions\r\n"});
}

TEST_F(DebugOutputSink, ASinkThatDoesNothingSilencesAndNullRestores) {
    D3DXSetDebugOutput(&Ignore, nullptr);
    MathDebugMessage(0, "silenced");
    EXPECT_TRUE(fake_->DebugLines().empty());

    Collected first, second;
    D3DXSetDebugOutput(&Collect, &first);
    D3DXSetDebugOutput(&Collect, &second);
    MathDebugMessage(0, "to the second context");
    EXPECT_TRUE(first.lines.empty());
    EXPECT_EQ(second.lines.size(), 1u);

    D3DXSetDebugOutput(nullptr, &second);
    MathDebugMessage(0, "back to the debugger");
    EXPECT_EQ(second.lines.size(), 1u);
    EXPECT_EQ(fake_->DebugLines(), std::vector<std::string>{"D3DX: back to the debugger\r\n"});
}

}  // namespace
}  // namespace d3dx
