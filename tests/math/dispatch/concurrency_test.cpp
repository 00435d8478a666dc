// Many threads making their first calls at once, from the load-time state.
// The initialisation takes no lock; every slot is one atomic word, so each
// caller reaches a complete implementation of its operation. The processor is
// forced to the x87 set, so that a caller racing the initialisation meets
// only the plain implementations and the x87 alternates, whose results agree
// up to rounding.
#include "dispatch/dispatch_internal.h"
#include "dispatch/test_hooks.h"
#include "dispatch_test_support.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr int kThreads = 8;
constexpr int kRounds = 20;

// Each thread calls its own slot; the slots rotate from round to round.
int SlotOf(int thread, int round) { return (thread * 7 + round) % kSlotCount; }

template <class R, class... A>
std::string Run(R (*entry)(A...)) {
    testing::ArgumentPack pack;
    if constexpr (std::is_void_v<R>) {
        pack.Call(entry);
        return pack.Bytes();
    } else {
        const R r = pack.Call(entry);
        // Pointer results point into the thread's own pack: compare only whether one came back.
        if constexpr (std::is_pointer_v<R>) {
            return pack.Bytes() + (r ? "ptr" : "null");
        } else {
            return pack.Bytes() + std::string(reinterpret_cast<const char*>(&r), sizeof r);
        }
    }
}

std::string RunSlot(int slot) {
    std::string out;
    testing::ForEachPublicEntry([&](int s, auto entry) {
        if (s == slot) out = Run(entry);
    });
    return out;
}

// A caller racing the initialisation may reach the plain implementation or
// the x87 alternate, and an operation built on others may mix them; each is a
// complete result, equal to the final one up to rounding.
constexpr float kRelativeTolerance = 1e-4f;

bool CloseFloats(float a, float b) {
    if (std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b))) return true;
    const float scale = std::max({1.0f, std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) <= kRelativeTolerance * scale;
}

bool SameUpToRounding(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    const size_t floats = a.size() / sizeof(float);
    for (size_t i = 0; i < floats; ++i) {
        float x, y;
        std::memcpy(&x, a.data() + i * sizeof x, sizeof x);
        std::memcpy(&y, b.data() + i * sizeof y, sizeof y);
        if (!CloseFloats(x, y)) return false;
    }
    return a.substr(floats * sizeof(float)) == b.substr(floats * sizeof(float));
}

TEST(DispatchConcurrency, SimultaneousFirstCallsAllGetCompleteResults) {
    ScopedDebugCapture capture(0);
    SelectInstructionSet("none");
    for (int round = 0; round < kRounds; ++round) {
        RestoreFirstCallEntries();
        std::atomic<int> ready{0};
        std::vector<std::string> results(kThreads);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                ready.fetch_add(1, std::memory_order_relaxed);
                while (ready.load(std::memory_order_relaxed) < kThreads) std::this_thread::yield();
                results[t] = RunSlot(SlotOf(t, round));
            });
        }
        for (std::thread& th : threads) th.join();
        for (int t = 0; t < kThreads; ++t) {
            const int slot = SlotOf(t, round);
            EXPECT_TRUE(SameUpToRounding(results[t], RunSlot(slot)))
                << "round " << round << " " << testing::kSlotNames[slot];
        }
        EXPECT_NE(g_mathDispatchState.load(), static_cast<uint32_t>(DISPATCH_UNINITIALIZED));
    }
    // Each round reports the selection at least once and always the same line.
    const std::vector<std::string> lines = capture.Lines();
    EXPECT_GE(lines.size(), static_cast<size_t>(kRounds));
    for (const std::string& line : lines) EXPECT_EQ(line, lines.front());
    SelectInstructionSet("");
    RestoreFirstCallEntries();
}

TEST(DispatchConcurrency, MmxQueryFromManyThreadsAgrees) {
    ResetMathCaches();
    std::vector<int> answers(kThreads, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { answers[t] = ProcessorHasMMX(); });
    for (std::thread& th : threads) th.join();
    for (int a : answers) EXPECT_EQ(a, answers.front());
}

}  // namespace
}  // namespace d3dx
