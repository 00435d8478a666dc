// 2x2 box filter throughput, in source bytes per second, for an image that
// fits in cache (512x512) and one that does not (4096x4096): the default
// binding of the public entry on this processor, every routine of the
// library, a plain per-channel loop, libyuv's box scaler to half size, and
// memcpy of the source as the memory bandwidth mark. Each filter also
// reports "maxdiff", its largest channel difference from the exact rounded
// average. bench/math/boxfilter_table.py runs them and prints the table.
#include "boxfilter/box_filter.h"
#include "boxfilter/box_filter_hooks.h"
#include "d3dx_math.h"
#include "dispatch/test_hooks.h"
#include "platform/linux_platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <libyuv.h>

namespace {

constexpr uint32_t kBytesPerPixel = 4;
constexpr uint32_t kChannels = 4;
constexpr uint32_t kChannelBits = 8;
constexpr uint32_t kChannelMask = 0xFF;
constexpr uint32_t kLowThreeChannels = 0x00FFFFFF;
constexpr uint32_t kInCacheSize = 512;
constexpr uint32_t kMemoryBoundSize = 4096;

struct Images {
    explicit Images(uint32_t size) : size(size), src(size * size), dst((size / 2) * (size / 2)) {
        std::mt19937 rng(size);
        for (uint32_t& p : src) p = static_cast<uint32_t>(rng());
    }
    int32_t SrcPitch() const { return static_cast<int32_t>(size * kBytesPerPixel); }
    int32_t DstPitch() const { return static_cast<int32_t>(size / 2 * kBytesPerPixel); }
    uint64_t SourceBytes() const { return uint64_t(src.size()) * kBytesPerPixel; }

    uint32_t size;
    std::vector<uint32_t> src;
    std::vector<uint32_t> dst;
};

// The peer: a plain loop over each channel of each 2x2 block.
int32_t PlainPerChannel(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                        int32_t srcPitch, int32_t dstPitch) {
    const auto* src = static_cast<const uint8_t*>(pSrc);
    auto* dst = static_cast<uint8_t*>(pDst);
    for (uint32_t y = 0; y < height / 2; ++y) {
        const uint8_t* top = src + std::ptrdiff_t(2 * y) * srcPitch;
        const uint8_t* bottom = top + srcPitch;
        uint8_t* out = dst + std::ptrdiff_t(y) * dstPitch;
        for (uint32_t x = 0; x < width / 2 * kChannels; ++x) {
            const uint32_t i = (x / kChannels) * 2 * kChannels + x % kChannels;
            out[x] = static_cast<uint8_t>(
                (top[i] + top[i + kChannels] + bottom[i] + bottom[i + kChannels] + 2) >> 2);
        }
    }
    return 0;
}

int32_t LibyuvBoxHalf(void* pDst, const void* pSrc, uint32_t width, uint32_t height,
                      int32_t srcPitch, int32_t dstPitch) {
    return libyuv::ARGBScale(static_cast<const uint8_t*>(pSrc), srcPitch, int(width), int(height),
                             static_cast<uint8_t*>(pDst), dstPitch, int(width / 2), int(height / 2),
                             libyuv::kFilterBox);
}

uint32_t LargestChannelDifference(uint32_t a, uint32_t b) {
    uint32_t largest = 0;
    for (uint32_t c = 0; c < kChannels; ++c) {
        const int pa = int((a >> (c * kChannelBits)) & kChannelMask);
        const int pb = int((b >> (c * kChannelBits)) & kChannelMask);
        largest = std::max<uint32_t>(largest, uint32_t(std::abs(pa - pb)));
    }
    return largest;
}

// Largest channel difference of filter's output from the exact average; the
// top byte is compared only when the filter averages it.
uint32_t MaxDifferenceFromRule(Images& images, d3dx::BoxFilterFn filter, bool averagesTopByte) {
    std::vector<uint32_t> exact(images.dst.size());
    PlainPerChannel(exact.data(), images.src.data(), images.size, images.size, images.SrcPitch(),
                    images.DstPitch());
    filter(images.dst.data(), images.src.data(), images.size, images.size, images.SrcPitch(),
           images.DstPitch());
    const uint32_t mask = averagesTopByte ? ~0u : kLowThreeChannels;
    uint32_t largest = 0;
    for (std::size_t i = 0; i < exact.size(); ++i)
        largest =
            std::max(largest, LargestChannelDifference(images.dst[i] & mask, exact[i] & mask));
    return largest;
}

Images& ImagesOfSize(uint32_t size) {
    static Images inCache(kInCacheSize);
    static Images memoryBound(kMemoryBoundSize);
    return size == kInCacheSize ? inCache : memoryBound;
}

// The routine the public entries bind to on the real processor, with the
// real registry and profile: the simulations other benchmarks select are
// put aside and the entries bound afresh.
d3dx::BoxFilterFn BindOnRealProcessor() {
    d3dx::platform::SystemPlatform().SimulateCpu(std::nullopt);
    d3dx::ResetMathCaches();
    d3dx::ResetBoxFilterEntries();
    BoxDownsampleArgbEntry(nullptr, nullptr, 0, 0, 0, 0);  // binds, writes nothing
    return d3dx::CurrentBoxArgbEntry();
}

const char* RoutineName(d3dx::BoxFilterFn fn) {
    if (fn == &d3dx::BoxDownsampleAvx2) return "Avx2";
    if (fn == &d3dx::BoxDownsampleSse2) return "Sse2";
    if (fn == &d3dx::BoxDownsampleMmx) return "Mmx";
    return "Argb";
}

void RunFilter(benchmark::State& state, d3dx::BoxFilterFn filter, bool averagesTopByte) {
    Images& images = ImagesOfSize(static_cast<uint32_t>(state.range(0)));
    state.counters["maxdiff"] = MaxDifferenceFromRule(images, filter, averagesTopByte);
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter(images.dst.data(), images.src.data(), images.size,
                                        images.size, images.SrcPitch(), images.DstPitch()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(images.SourceBytes()));
}

void RunMemcpy(benchmark::State& state) {
    Images& images = ImagesOfSize(static_cast<uint32_t>(state.range(0)));
    std::vector<uint32_t> copy(images.src.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), images.src.data(), images.SourceBytes());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(images.SourceBytes()));
}

void RunDefaultBinding(benchmark::State& state) {
    state.SetLabel(RoutineName(BindOnRealProcessor()));
    RunFilter(state, &BoxDownsampleArgbEntry, true);
}

struct FilterEntry {
    const char* name;
    d3dx::BoxFilterFn filter;
    bool averagesTopByte;
};

const FilterEntry kFilters[] = {
    {"Avx2", &d3dx::BoxDownsampleAvx2, true},     {"Sse2", &d3dx::BoxDownsampleSse2, true},
    {"Mmx", &d3dx::BoxDownsampleMmx, true},       {"Argb", &d3dx::BoxDownsampleArgb, true},
    {"Xrgb", &d3dx::BoxDownsampleXrgb, false},    {"PlainPerChannel", &PlainPerChannel, true},
    {"LibyuvARGBScaleBox", &LibyuvBoxHalf, true},
};

bool RunsHere(d3dx::BoxFilterFn fn) {
    return fn != &d3dx::BoxDownsampleAvx2 || __builtin_cpu_supports("avx2");
}

void RegisterAll(benchmark::internal::Benchmark* b) {
    b->Arg(kInCacheSize)->Arg(kMemoryBoundSize)->Unit(benchmark::kMicrosecond);
}

bool RegisterBoxFilterBenchmarks() {
    RegisterAll(benchmark::RegisterBenchmark("boxfilter/DefaultBinding", &RunDefaultBinding));
    for (const FilterEntry& f : kFilters) {
        if (!RunsHere(f.filter)) continue;
        RegisterAll(benchmark::RegisterBenchmark(
            (std::string("boxfilter/") + f.name).c_str(),
            [f](benchmark::State& state) { RunFilter(state, f.filter, f.averagesTopByte); }));
    }
    RegisterAll(benchmark::RegisterBenchmark("boxfilter/memcpy", &RunMemcpy));
    return true;
}

const bool g_registered = RegisterBoxFilterBenchmarks();

}  // namespace
