// Which instruction set the initialisation picks for each combination of
// registry overrides, system version and processor, the line it reports, and
// what every slot of the table then holds.
#include "dispatch/dispatch_internal.h"
#include "dispatch_test_support.h"
#include "platform/fake_platform.h"

#include <string>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

using platform::CpuFeatureSet;
using platform::FakePlatform;
using testing::Installed;

enum class Registry {
    kNone,
    kPsgp1,
    kPsgp2,
    kD3DXPsgp0OverPsgp1,
    kD3DXPsgp1OverPsgp0,
    kPsgpString
};
enum class Version {
    kNt,
    kWin95,
    kWin98Build1372,
    kWin98Build1373,
    kWin98Build1373HighWord,
    kWinMe,
    kWin9xMajor5,
    kFailing
};

// Processor features, or no CPUID instruction at all.
constexpr CpuFeatureSet kNoCpuid = ~CpuFeatureSet{0};
constexpr CpuFeatureSet kMmx = platform::kCpuMmx;
constexpr CpuFeatureSet kSse = platform::kCpuSse;
constexpr CpuFeatureSet kSse2 = platform::kCpuSse2;
constexpr CpuFeatureSet k3DNow = platform::kCpu3DNow;
constexpr CpuFeatureSet kExt = platform::kCpu3DNowExt | platform::kCpuMmxExt;

const std::string kX87Line = "D3DX: (INFO) Using x87 Instructions\r\n";
const std::string kDisabledLine =
    "D3DX: (INFO) CPU optimization disabled. Using x87 Instructions\r\n";
const std::string kSseLine = "D3DX: (INFO) Using SSE Instructions\r\n";
const std::string kSse2Line = "D3DX: (INFO) Using SSE2 Instructions\r\n";
const std::string k3DNowLine = "D3DX: (INFO) Using 3DNow Instructions\r\n";

struct Row {
    const char* name;
    Registry registry;
    Version version;
    CpuFeatureSet cpu;
    MathDispatchState state;
    const std::string& line;
    Installed installed;
};

void PrintTo(const Row& c, std::ostream* os) { *os << c.name; }

const Row kRows[] = {
    {"plain processor", Registry::kNone, Version::kNt, 0, DISPATCH_X87, kX87Line, Installed{}},
    {"sse", Registry::kNone, Version::kNt, kSse, DISPATCH_SSE, kSseLine,
     Installed{VariantSet::kSse}},
    {"sse and sse2", Registry::kNone, Version::kNt, kSse | kSse2, DISPATCH_SSE2, kSse2Line,
     Installed{VariantSet::kSse2}},
    {"3dnow with mmx", Registry::kNone, Version::kNt, kMmx | k3DNow, DISPATCH_3DNOW, k3DNowLine,
     Installed{VariantSet::kAmd3DNow}},
    {"3dnow without mmx", Registry::kNone, Version::kNt, k3DNow, DISPATCH_3DNOW, k3DNowLine,
     Installed{}},
    {"3dnow wins over sse2", Registry::kNone, Version::kNt, kMmx | k3DNow | kSse | kSse2,
     DISPATCH_3DNOW, k3DNowLine, Installed{VariantSet::kAmd3DNow}},
    {"3dnow with extensions", Registry::kNone, Version::kNt, kMmx | k3DNow | kExt, DISPATCH_3DNOW,
     k3DNowLine, Installed{VariantSet::kAmd3DNow, VariantSet::kAmd3DNowExt}},
    {"3dnow with only 3dnowext", Registry::kNone, Version::kNt,
     kMmx | k3DNow | platform::kCpu3DNowExt, DISPATCH_3DNOW, k3DNowLine,
     Installed{VariantSet::kAmd3DNow}},
    {"3dnow with only mmxext", Registry::kNone, Version::kNt, kMmx | k3DNow | platform::kCpuMmxExt,
     DISPATCH_3DNOW, k3DNowLine, Installed{VariantSet::kAmd3DNow}},
    {"extensions without mmx", Registry::kNone, Version::kNt, k3DNow | kExt, DISPATCH_3DNOW,
     k3DNowLine, Installed{}},
    {"no cpuid on nt", Registry::kNone, Version::kNt, kNoCpuid, DISPATCH_X87, kX87Line,
     Installed{}},
    {"DisablePSGP 1", Registry::kPsgp1, Version::kNt, kSse | kSse2, DISPATCH_X87, kDisabledLine,
     Installed{}},
    {"DisablePSGP 1 on 3dnow", Registry::kPsgp1, Version::kNt, kMmx | k3DNow, DISPATCH_X87,
     kDisabledLine, Installed{}},
    {"DisablePSGP 2 does not disable", Registry::kPsgp2, Version::kNt, kSse | kSse2, DISPATCH_SSE2,
     kSse2Line, Installed{VariantSet::kSse2}},
    {"DisableD3DXPSGP 0 wins", Registry::kD3DXPsgp0OverPsgp1, Version::kNt, kSse | kSse2,
     DISPATCH_SSE2, kSse2Line, Installed{VariantSet::kSse2}},
    {"DisableD3DXPSGP 1 wins", Registry::kD3DXPsgp1OverPsgp0, Version::kNt, kSse, DISPATCH_X87,
     kDisabledLine, Installed{}},
    {"string DisablePSGP ignored", Registry::kPsgpString, Version::kNt, kSse, DISPATCH_SSE,
     kSseLine, Installed{VariantSet::kSse}},
    {"95 4.0 hides sse2", Registry::kNone, Version::kWin95, kSse | kSse2, DISPATCH_X87, kX87Line,
     Installed{}},
    {"95 4.0 still sees 3dnow", Registry::kNone, Version::kWin95, kMmx | k3DNow | kSse2,
     DISPATCH_3DNOW, k3DNowLine, Installed{VariantSet::kAmd3DNow}},
    {"98 build 1372 hides sse", Registry::kNone, Version::kWin98Build1372, kSse | kSse2,
     DISPATCH_X87, kX87Line, Installed{}},
    {"98 build 1373 sees sse2", Registry::kNone, Version::kWin98Build1373, kSse | kSse2,
     DISPATCH_SSE2, kSse2Line, Installed{VariantSet::kSse2}},
    {"98 build high word ignored", Registry::kNone, Version::kWin98Build1373HighWord, kSse,
     DISPATCH_SSE, kSseLine, Installed{VariantSet::kSse}},
    {"me sees sse", Registry::kNone, Version::kWinMe, kSse, DISPATCH_SSE, kSseLine,
     Installed{VariantSet::kSse}},
    {"95 family 5.0 sees sse2", Registry::kNone, Version::kWin9xMajor5, kSse2, DISPATCH_SSE2,
     kSse2Line, Installed{VariantSet::kSse2}},
    {"95 family without cpuid", Registry::kNone, Version::kWin98Build1373, kNoCpuid, DISPATCH_X87,
     kX87Line, Installed{}},
    {"failing version query", Registry::kNone, Version::kFailing, kMmx | k3DNow | kSse | kSse2,
     DISPATCH_X87, kX87Line, Installed{}},
};

void SetRegistry(FakePlatform& fake, Registry registry) {
    switch (registry) {
        case Registry::kNone:
            break;
        case Registry::kPsgp1:
            fake.SetDword("DisablePSGP", 1);
            break;
        case Registry::kPsgp2:
            fake.SetDword("DisablePSGP", 2);
            break;
        case Registry::kD3DXPsgp0OverPsgp1:
            fake.SetDword("DisablePSGP", 1);
            fake.SetDword("DisableD3DXPSGP", 0);
            break;
        case Registry::kD3DXPsgp1OverPsgp0:
            fake.SetDword("DisablePSGP", 0);
            fake.SetDword("DisableD3DXPSGP", 1);
            break;
        case Registry::kPsgpString:
            fake.SetString("DisablePSGP", "1");
            break;
    }
}

void SetVersion(FakePlatform& fake, Version version) {
    constexpr uint32_t k9x = platform::kPlatformWin32Windows;
    switch (version) {
        case Version::kNt:
            break;  // the fake's own default
        case Version::kWin95:
            fake.SetVersion(k9x, 4, 0, 950);
            break;
        case Version::kWin98Build1372:
            fake.SetVersion(k9x, 4, 10, 1372);
            break;
        case Version::kWin98Build1373:
            fake.SetVersion(k9x, 4, 10, 1373);
            break;
        case Version::kWin98Build1373HighWord:
            fake.SetVersion(k9x, 4, 10, 0x040A055D);
            break;
        case Version::kWinMe:
            fake.SetVersion(k9x, 4, 90, 3000);
            break;
        case Version::kWin9xMajor5:
            fake.SetVersion(k9x, 5, 0, 0);
            break;
        case Version::kFailing:
            fake.FailVersionQuery();
            break;
    }
}

void SetCpu(FakePlatform& fake, CpuFeatureSet cpu) {
    if (cpu == kNoCpuid) {
        fake.RemoveCpuid();
    } else {
        fake.SetCpuFeatures(cpu);
    }
}

class DispatchInit : public testing::FreshDispatchTest {};

class SelectionTest : public testing::FreshDispatchTest,
                      public ::testing::WithParamInterface<Row> {};

TEST_P(SelectionTest, PicksTheSetReportsItAndFillsTheTable) {
    const Row& row = GetParam();
    platform::ScopedFakePlatform fake;
    SetRegistry(*fake, row.registry);
    SetVersion(*fake, row.version);
    SetCpu(*fake, row.cpu);

    EXPECT_EQ(InitMathDispatch(1), row.state);
    EXPECT_EQ(g_mathDispatchState.load(), static_cast<uint32_t>(row.state));
    EXPECT_EQ(fake->DebugLines(), std::vector<std::string>{row.line});
    testing::ExpectTableIs(testing::ExpectedTable(row.installed));
    EXPECT_EQ(fake->OpenKeys(), 0) << "every opened registry key is closed";
}

INSTANTIATE_TEST_SUITE_P(Rows, SelectionTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

// The NT family's own feature query may not know code 10: SSE2 is then taken
// from CPUID leaf 1 EDX bit 26.
TEST_F(DispatchInit, NtTakesSse2FromCpuidEvenWhenTheSystemDoesNotKnowIt) {
    platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(kSse | kSse2);
    fake->SetFeaturePresent(platform::kPfXmmi64InstructionsAvailable, false);
    EXPECT_EQ(InitMathDispatch(1), DISPATCH_SSE2);
}

TEST_F(DispatchInit, LaterCallsReturnTheStateWithoutDetectingAgain) {
    platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(kSse);
    ASSERT_EQ(InitMathDispatch(1), DISPATCH_SSE);
    const platform::FakeCallCounts before = fake->Counts();
    fake->SetCpuFeatures(kSse | kSse2);
    EXPECT_EQ(InitMathDispatch(1), DISPATCH_SSE);
    EXPECT_EQ(fake->Counts().regOpenKey, before.regOpenKey);
    EXPECT_EQ(fake->Counts().cpuid, before.cpuid);
    EXPECT_EQ(fake->DebugLines().size(), 1u);
}

// Zero enable puts back the plain x87 table, neither the first-call entries
// nor the x87 alternates, and the next nonzero call detects again.
TEST_F(DispatchInit, DisablingRestoresThePlainTableAndRedetects) {
    platform::ScopedFakePlatform fake;
    fake->SetCpuFeatures(kSse | kSse2);
    ASSERT_EQ(InitMathDispatch(1), DISPATCH_SSE2);

    EXPECT_EQ(InitMathDispatch(0), DISPATCH_UNINITIALIZED);
    EXPECT_EQ(g_mathDispatchState.load(), 0xFFFFu);
    testing::ExpectTableIs(DefaultMathOps);

    fake->SetCpuFeatures(kSse);
    fake->ClearDebugLines();
    EXPECT_EQ(InitMathDispatch(1), DISPATCH_SSE);
    EXPECT_EQ(fake->DebugLines(), std::vector<std::string>{kSseLine});
}

}  // namespace
}  // namespace d3dx
