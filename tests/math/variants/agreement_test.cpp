// Every slot of every selectable variant set against the x87 reference, on
// random inputs from a fixed seed, with the tolerance of the slot table; plus
// aliasing, misaligned arguments, and the SSE2 set against its SSE twins.
#include "dispatch/test_hooks.h"
#include "slot_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace d3dx::testing {
namespace {

constexpr std::size_t kSamples = 10000;
constexpr std::size_t kLayoutSamples = 200;
constexpr unsigned kSeedBase = 20240601u;
// Errors in ulps are reported for reference values at least this large;
// smaller ones are judged (and reported) by their absolute error.
constexpr double kUlpReportFloor = 0.25;

unsigned SeedOf(Slot slot) { return kSeedBase + static_cast<unsigned>(slot); }

Tolerance SseTolerance(Slot slot) { return CaseOf(slot).sse; }
Tolerance Amd3DNowTolerance(Slot slot) { return CaseOf(slot).amd3dnow; }

// The x87 alternates compute the reference's formulas in another order, except
// the normaliser, whose segment table carries up to 1.5e-6 relative error.
constexpr Tolerance kSegmentTable{32, 2e-6};
Tolerance X87AltTolerance(Slot slot) {
    return slot == kVec3Normalize ? kSegmentTable : CaseOf(slot).sse;
}

struct VariantSetParam {
    const char* name;
    const char* features;
    const VariantList* list;
    Tolerance (*tolerance)(Slot);
};

void PrintTo(const VariantSetParam& set, std::ostream* os) { *os << set.name; }

Tolerance ToleranceFor(const VariantSetParam& set, Slot slot) { return set.tolerance(slot); }

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

    void Record(Slot slot, const std::string& set, const ErrorStats& stats) {
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
    // Each set, and what a slot it does not fill holds.
    struct Column {
        const char* set;
        const char* otherwise;
    };
    static constexpr Column kColumns[] = {{"X87Alt", "x87"},
                                          {"Sse", "x87"},
                                          {"Sse2", "x87"},
                                          {"Amd3DNow", "x87"},
                                          {"Amd3DNowExt", "as 3DNow!"}};

    static std::string Cell(const ErrorStats& s) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f (%.1e)", s.maxUlps, s.maxAbs);
        return text;
    }

    std::string Table() const {
        std::ostringstream t;
        t << "| operation | x87 alternates | SSE | SSE2 | 3DNow! | 3DNow!+ext |\n"
             "|---|---|---|---|---|---|\n";
        for (const auto& [slot, bySet] : cells_) {
            t << "| D3DX" << SlotName(slot);
            for (const Column& column : kColumns) {
                const auto it = bySet.find(column.set);
                t << " | "
                  << (it == bySet.end() ? std::string(column.otherwise) : Cell(it->second));
            }
            t << " |\n";
        }
        t << "\nLargest error against the x87 reference in ulps (reference values >= "
          << kUlpReportFloor
          << "), absolute error in parentheses; x87: the set keeps the x87 operation.\n";
        return t.str();
    }

    std::map<Slot, std::map<std::string, ErrorStats>> cells_;
};

[[maybe_unused]] ::testing::Environment* const kReportEnvironment =
    ::testing::AddGlobalTestEnvironment(&AccuracyReport::Instance());

// ---------------------------------------------------------------------------

bool BitIdentical(const Outcome& a, const Outcome& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

class VariantSet : public ::testing::TestWithParam<VariantSetParam> {
protected:
    void TearDown() override { SelectInstructionSet(""); }
    const VariantList& List() const { return *GetParam().list; }
    void Select() const { SelectInstructionSet(GetParam().features); }
};

TEST_P(VariantSet, EverySlotAgreesWithTheX87Reference) {
    const VariantSetParam& set = GetParam();
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
        AccuracyReport::Instance().Record(e.slot, set.name, stats);
        std::printf("[%s] %-32s max %8.2f ulps  max abs %.3g  (tolerance %.0f ulps / %.1g)\n",
                    set.name, SlotName(e.slot), stats.maxUlps, stats.maxAbs, tol.ulps, tol.abs);
        EXPECT_EQ(stats.failures, 0u)
            << set.name << " D3DX" << SlotName(e.slot) << ": " << stats.firstFailure;
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

// The x87 alternates are installed on every path; with no feature reported
// they are what slots 0-7 run.
const VariantSetParam kSets[] = {
    {"X87Alt", "none", &kX87AltVariants, X87AltTolerance},
    {"Sse", "sse", &kSseVariants, SseTolerance},
    {"Sse2", "sse,sse2", &kSse2Variants, SseTolerance},
    {"Amd3DNow", "mmx,3dnow", &k3DNowVariants, Amd3DNowTolerance},
    {"Amd3DNowExt", "mmx,3dnow,3dnowext,mmxext", &k3DNowExtVariants, Amd3DNowTolerance},
};

INSTANTIATE_TEST_SUITE_P(Sets, VariantSet, ::testing::ValuesIn(kSets),
                         [](const ::testing::TestParamInfo<VariantSetParam>& info) {
                             return std::string(info.param.name);
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
}  // namespace d3dx::testing
