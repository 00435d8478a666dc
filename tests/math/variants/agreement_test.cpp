// Every slot of every selectable variant set against the x87 reference, on
// random inputs from a fixed seed, with the tolerance of the slot table; plus
// aliasing, misaligned arguments, and the SSE2 set against its SSE twins.
#include "dispatch/dispatch_internal.h"
#include "dispatch/test_hooks.h"
#include "slot_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace d3dx {

// Parameters print as the set they stand for.
void PrintTo(const VariantSetInfo& set, std::ostream* os) { *os << set.id; }

namespace testing {
namespace {

constexpr std::size_t kSamples = 10000;
constexpr std::size_t kLayoutSamples = 200;
constexpr unsigned kSeedBase = 20240601u;
// Errors in ulps are reported for reference values at least this large;
// smaller ones are judged (and reported) by their absolute error.
constexpr double kUlpReportFloor = 0.25;

unsigned SeedOf(Slot slot) { return kSeedBase + static_cast<unsigned>(slot); }

// The sets the sweep compares with the x87 reference: every set, the x87
// alternates included (they are what slots 0-7 hold on every path until a
// processor's set replaces them).
std::vector<VariantSetInfo> SweptSets() {
    return std::vector<VariantSetInfo>(std::begin(kVariantSets), std::end(kVariantSets));
}

// The x87 alternates compute the reference's formulas in another order, except
// the normaliser, whose segment table carries up to 1.5e-6 relative error.
constexpr Tolerance kSegmentTable{32, 2e-6};

Tolerance ToleranceFor(const VariantSetInfo& set, Slot slot) {
    if (set.state == DISPATCH_3DNOW) return CaseOf(slot).amd3dnow;
    if (set.set == d3dx::VariantSet::kX87Alt && slot == kVec3Normalize) return kSegmentTable;
    return CaseOf(slot).sse;
}

// What a slot a set does not fill holds in the accuracy table: the set it is
// written over (an earlier swept set of the same state), else x87.
std::string OtherwiseOf(const VariantSetInfo& set) {
    for (const VariantSetInfo& earlier : kVariantSets) {
        if (earlier.set == set.set) break;
        if (earlier.state == set.state) return std::string("as ") + earlier.title;
    }
    return "x87";
}

// ---------------------------------------------------------------------------
// Error measurement.

double UlpsBetween(float value, float reference) {
    if (std::isnan(value) && std::isnan(reference)) return 0.0;
    if (value == reference) return 0.0;
    if (std::isnan(value) || std::isnan(reference) || std::isinf(reference)) {
        return std::numeric_limits<double>::infinity();
    }
    const float magnitude = std::fabs(reference);
    const double ulp =
        std::nextafter(magnitude, std::numeric_limits<float>::infinity()) - magnitude;
    return std::fabs(static_cast<double>(value) - reference) / ulp;
}

double AbsBetween(float value, float reference) {
    if (std::isnan(value) && std::isnan(reference)) return 0.0;
    if (value == reference) return 0.0;
    const double diff = std::fabs(static_cast<double>(value) - reference);
    return std::isnan(diff) ? std::numeric_limits<double>::infinity() : diff;
}

struct ErrorStats {
    double maxUlps = 0.0;
    double maxAbs = 0.0;
    std::size_t failures = 0;
    std::string firstFailure;
};

void Measure(ErrorStats& stats, const Outcome& got, const Outcome& want, const Tolerance& tol,
             std::size_t sample) {
    if (got.size() != want.size()) {
        if (stats.failures++ == 0)
            stats.firstFailure = "sample " + std::to_string(sample) + ": outcome sizes differ";
        return;
    }
    for (std::size_t i = 0; i < got.size(); ++i) {
        const double ulps = UlpsBetween(got[i], want[i]);
        const double abs = AbsBetween(got[i], want[i]);
        if (std::fabs(want[i]) >= kUlpReportFloor || std::isnan(ulps))
            stats.maxUlps = std::max(stats.maxUlps, ulps);
        stats.maxAbs = std::max(stats.maxAbs, abs);
        if (ulps <= tol.ulps || abs <= tol.abs) continue;
        if (stats.failures++ == 0) {
            std::ostringstream s;
            s << "sample " << sample << " element " << i << ": got " << got[i] << ", x87 "
              << want[i] << " (" << ulps << " ulps, " << abs << " abs)";
            stats.firstFailure = s.str();
        }
    }
}

// ---------------------------------------------------------------------------
// The accuracy table: operation by set, largest error in ulps (and absolute).

class AccuracyReport : public ::testing::Environment {
public:
    static AccuracyReport& Instance() {
        static AccuracyReport* report = new AccuracyReport;
        return *report;
    }

    void Record(Slot slot, d3dx::VariantSet set, const ErrorStats& stats) {
        cells_[slot][set] = stats;
    }

    void TearDown() override {
        if (cells_.empty()) return;
        const std::string table = Table();
        std::printf("\n%s\n", table.c_str());
        const char* path = std::getenv("D3DX_ACCURACY_FILE");
        const std::string file = path != nullptr ? path : "variant_accuracy.md";
        std::ofstream(file) << table;
        std::printf("accuracy table written to %s\n", file.c_str());
    }

private:
    static std::string Cell(const ErrorStats& s) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f (%.1e)", s.maxUlps, s.maxAbs);
        return text;
    }

    std::string Table() const {
        const std::vector<VariantSetInfo> columns = SweptSets();
        std::ostringstream t;
        t << "| operation |";
        for (const VariantSetInfo& set : columns) t << " " << set.title << " |";
        t << "\n|---|";
        for (std::size_t i = 0; i < columns.size(); ++i) t << "---|";
        t << "\n";
        for (const auto& [slot, bySet] : cells_) {
            t << "| D3DX" << SlotName(slot);
            for (const VariantSetInfo& set : columns) {
                const auto it = bySet.find(set.set);
                t << " | " << (it == bySet.end() ? OtherwiseOf(set) : Cell(it->second));
            }
            t << " |\n";
        }
        t << "\nLargest error against the x87 reference in ulps (reference values >= "
          << kUlpReportFloor
          << "), absolute error in parentheses; x87: the set keeps the x87 operation.\n";
        return t.str();
    }

    std::map<Slot, std::map<d3dx::VariantSet, ErrorStats>> cells_;
};

[[maybe_unused]] ::testing::Environment* const kReportEnvironment =
    ::testing::AddGlobalTestEnvironment(&AccuracyReport::Instance());

// ---------------------------------------------------------------------------

bool BitIdentical(const Outcome& a, const Outcome& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// One instance per swept set, named after it.
class VariantSet : public ::testing::TestWithParam<VariantSetInfo> {
protected:
    void TearDown() override { SelectInstructionSet(""); }
    const VariantList& List() const { return LibraryVariantSets()[GetParam().set]; }
    void Select() const { SelectInstructionSet(GetParam().cpu); }
};

TEST_P(VariantSet, EverySlotAgreesWithTheX87Reference) {
    const VariantSetInfo& set = GetParam();
    SelectInstructionSet("none");
    std::vector<std::vector<Outcome>> references;
    for (const VariantEntry& e : List()) {
        references.push_back(RunSamples(e.slot, DefaultMathOps[e.slot], SeedOf(e.slot), kSamples));
    }
    Select();
    for (std::size_t i = 0; i < List().size(); ++i) {
        const VariantEntry& e = List()[i];
        const Tolerance tol = ToleranceFor(set, e.slot);
        const std::vector<Outcome> got = RunSamples(e.slot, e.fn, SeedOf(e.slot), kSamples);
        ErrorStats stats;
        for (std::size_t s = 0; s < got.size(); ++s)
            Measure(stats, got[s], references[i][s], tol, s);
        AccuracyReport::Instance().Record(e.slot, set.set, stats);
        std::printf("[%s] %-32s max %8.2f ulps  max abs %.3g  (tolerance %.0f ulps / %.1g)\n",
                    set.id, SlotName(e.slot), stats.maxUlps, stats.maxAbs, tol.ulps, tol.abs);
        EXPECT_EQ(stats.failures, 0u)
            << set.id << " D3DX" << SlotName(e.slot) << ": " << stats.firstFailure;
    }
}

TEST_P(VariantSet, OutputMayBeAnyInputOfItsType) {
    Select();
    for (const VariantEntry& e : List()) {
        std::size_t mismatches = 0;
        std::string first;
        for (const AliasRun& run : RunAliased(e.slot, e.fn, SeedOf(e.slot), kLayoutSamples)) {
            if (BitIdentical(run.plain, run.aliased)) continue;
            if (mismatches++ == 0) first = run.what;
        }
        EXPECT_EQ(mismatches, 0u) << "D3DX" << SlotName(e.slot) << " with " << first;
    }
}

TEST_P(VariantSet, MisalignedArgumentsGiveBitIdenticalResults) {
    Select();
    for (const VariantEntry& e : List()) {
        const std::vector<Outcome> aligned =
            RunSamples(e.slot, e.fn, SeedOf(e.slot), kLayoutSamples);
        for (int offset : {4, 8, 12}) {
            const std::vector<Outcome> shifted =
                RunSamples(e.slot, e.fn, SeedOf(e.slot), kLayoutSamples, ShiftedLayout(offset));
            std::size_t mismatches = 0;
            for (std::size_t s = 0; s < aligned.size(); ++s)
                mismatches += BitIdentical(aligned[s], shifted[s]) ? 0 : 1;
            EXPECT_EQ(mismatches, 0u)
                << "D3DX" << SlotName(e.slot) << " with arguments at 16n+" << offset;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, VariantSet, ::testing::ValuesIn(SweptSets()),
                         [](const ::testing::TestParamInfo<VariantSetInfo>& info) {
                             return std::string(info.param.id);
                         });

// ---------------------------------------------------------------------------

const VariantEntry* FindSlot(const VariantList& list, Slot slot) {
    for (const VariantEntry& e : list) {
        if (e.slot == slot) return &e;
    }
    return nullptr;
}

TEST(Sse2Set, MatchesItsSseTwinsBitForBit) {
    SelectInstructionSet("sse,sse2");
    int shared = 0;
    int ownWithTwin = 0;
    for (const VariantEntry& e : kSse2Variants) {
        const VariantEntry* twin = FindSlot(kSseVariants, e.slot);
        if (twin == nullptr) continue;
        if (twin->fn == e.fn) {
            ++shared;
            continue;
        }
        ++ownWithTwin;
        const auto mine = RunSamples(e.slot, e.fn, SeedOf(e.slot), kSamples);
        const auto theirs = RunSamples(e.slot, twin->fn, SeedOf(e.slot), kSamples);
        std::size_t mismatches = 0;
        for (std::size_t s = 0; s < mine.size(); ++s)
            mismatches += BitIdentical(mine[s], theirs[s]) ? 0 : 1;
        EXPECT_EQ(mismatches, 0u) << "D3DX" << SlotName(e.slot);
    }
    SelectInstructionSet("");
    EXPECT_EQ(shared, 16);
    EXPECT_EQ(ownWithTwin,
              16);  // the other two own variants (rotations about x and y) have no twin
}

TEST(SlotTable, RowsFollowTheSlotOrder) {
    for (int i = 0; i < kSlotCount; ++i)
        EXPECT_EQ(CaseOf(static_cast<Slot>(i)).slot, i) << SlotName(static_cast<Slot>(i));
}

}  // namespace
}  // namespace testing
}  // namespace d3dx
