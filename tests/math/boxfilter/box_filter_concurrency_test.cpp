// Racing first calls of both entries bind them to the same routines and
// every caller gets the right pixels; bound entries run side by side.
#include "box_filter_test_support.h"
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_hooks.h"
#include "d3dx_math.h"
#include "dispatch/test_hooks.h"
#include "platform/fake_platform.h"

#include <atomic>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using d3dx::testing::Image;

constexpr int kThreads = 8;
constexpr int kRounds = 20;

struct Job {
    explicit Job(std::mt19937& rng)
        : src(16, 6, 16 * d3dx::testing::kPixelBytes + 4), dst(d3dx::testing::OutputFor(src, 4)) {
        src.FillRandom(rng);
    }
    Image src;
    Image dst;
    int32_t status = -100;
};

d3dx::BoxFilterFn EntryFor(int thread) {
    return thread % 2 == 0 ? &BoxDownsampleArgbEntry : &BoxDownsampleXrgbEntry;
}

// Runs one job per thread through the entries, all released at once.
void RunAllAtOnce(std::vector<Job>& jobs) {
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&jobs, &go, t] {
            while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
            jobs[t].status = d3dx::testing::Run(EntryFor(t), jobs[t].dst, jobs[t].src);
        });
    }
    go.store(true, std::memory_order_release);
    for (std::thread& th : threads) th.join();
}

void ExpectJobsMatchBoundRoutines(const std::vector<Job>& jobs) {
    for (int t = 0; t < kThreads; ++t) {
        const d3dx::BoxFilterFn routine =
            t % 2 == 0 ? d3dx::CurrentBoxArgbEntry() : d3dx::CurrentBoxXrgbEntry();
        Image expected = d3dx::testing::OutputFor(jobs[t].src, 4);
        d3dx::testing::Run(routine, expected, jobs[t].src);
        EXPECT_EQ(jobs[t].status, d3dx::kBoxFilterOk);
        EXPECT_TRUE(d3dx::testing::SamePixels(jobs[t].dst, expected)) << "thread " << t;
        EXPECT_TRUE(jobs[t].dst.PaddingIntact());
    }
}

struct ProcessorCase {
    const char* name;
    d3dx::platform::CpuFeatureSet features;
    d3dx::BoxFilterFn argbRoutine, xrgbRoutine;
};

void PrintTo(const ProcessorCase& c, std::ostream* os) { *os << c.name; }

const ProcessorCase kProcessors[] = {
    {"Mmx", d3dx::platform::kCpuMmx, &d3dx::BoxDownsampleMmx, &d3dx::BoxDownsampleMmx},
    {"Sse", d3dx::platform::kCpuSse, &d3dx::BoxDownsampleArgb, &d3dx::BoxDownsampleXrgb},
    {"MmxSse2", d3dx::platform::kCpuMmx | d3dx::platform::kCpuSse2, &d3dx::BoxDownsampleSse2,
     &d3dx::BoxDownsampleSse2},
    {"MmxAvx2", d3dx::platform::kCpuMmx | d3dx::platform::kCpuSse2 | d3dx::platform::kCpuAvx2,
     &d3dx::BoxDownsampleAvx2, &d3dx::BoxDownsampleAvx2},
};

class BoxFilterConcurrency : public ::testing::TestWithParam<ProcessorCase> {
protected:
    void SetUp() override {
        if (!d3dx::testing::RunsHere(GetParam().argbRoutine)) GTEST_SKIP() << "no AVX2 here";
        fake_->SetCpuFeatures(GetParam().features);
        d3dx::ResetBoxFilterEntries();
    }
    void TearDown() override { d3dx::ResetBoxFilterEntries(); }

    d3dx::platform::ScopedFakePlatform fake_;
};

std::string ProcessorName(const ::testing::TestParamInfo<ProcessorCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Processors, BoxFilterConcurrency, ::testing::ValuesIn(kProcessors),
                         ProcessorName);

TEST_P(BoxFilterConcurrency, RacingFirstCallsBindOnceAndAgree) {
    std::mt19937 rng(11);
    for (int round = 0; round < kRounds; ++round) {
        d3dx::ResetBoxFilterEntries();
        d3dx::ResetMathCaches();
        std::vector<Job> jobs;
        for (int t = 0; t < kThreads; ++t) jobs.emplace_back(rng);
        RunAllAtOnce(jobs);
        EXPECT_EQ(d3dx::CurrentBoxArgbEntry(), GetParam().argbRoutine);
        EXPECT_EQ(d3dx::CurrentBoxXrgbEntry(), GetParam().xrgbRoutine);
        ExpectJobsMatchBoundRoutines(jobs);
    }
}

TEST_P(BoxFilterConcurrency, BoundEntriesRunSideBySide) {
    std::mt19937 rng(12);
    std::vector<Job> warmup;
    warmup.emplace_back(rng);
    d3dx::testing::Run(&BoxDownsampleArgbEntry, warmup[0].dst, warmup[0].src);
    std::vector<Job> jobs;
    for (int t = 0; t < kThreads; ++t) jobs.emplace_back(rng);
    RunAllAtOnce(jobs);
    ExpectJobsMatchBoundRoutines(jobs);
}

}  // namespace
