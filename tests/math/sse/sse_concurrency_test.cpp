// The one shared write of the SSE/SSE2 sets: the first-use constants of the
// shadow matrix's reciprocal square root, raced by threads that all start
// with the first call.
#include "dispatch/op_table.h"

#include <cstring>
#include <latch>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

constexpr int kThreads = 4;
constexpr int kCallsPerThread = 200;

TEST(SseConcurrency, FirstShadowCallsFromManyThreadsAgree) {
    const D3DXVECTOR4 light{1, 4, 2, 1};
    const D3DXPLANE plane{0.5f, 2, -1, -1};
    std::vector<D3DXMATRIX> results(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            auto* shadow = t % 2 ? &sse::MatrixShadow : &sse2::MatrixShadow;
            for (int i = 0; i < kCallsPerThread; ++i) shadow(&results[t], &light, &plane);
        });
    }
    for (std::thread& th : threads) th.join();
    D3DXMATRIX expected{};
    sse::MatrixShadow(&expected, &light, &plane);
    EXPECT_NE(expected.m[0][0], 0.0f);
    for (const D3DXMATRIX& m : results) EXPECT_EQ(std::memcmp(&m, &expected, sizeof m), 0);
}

}  // namespace
}  // namespace d3dx
