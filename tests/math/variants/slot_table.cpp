#include "slot_table.h"

#include <array>

namespace d3dx::testing {
namespace {

// Generators.
constexpr Generator kUnitBox{};  // vectors and scalars in [-1, 1], unit quaternions
constexpr Generator kWide{-10.0f, 10.0f, 10.0f, true, MatrixKind::kWellConditioned};
constexpr Generator kWideQuaternions{-10.0f, 10.0f, 10.0f, false, MatrixKind::kWellConditioned};
constexpr Generator kSplines{0.0f, 1.0f, 10.0f, true, MatrixKind::kWellConditioned};
constexpr Generator kInterpolation{0.0f, 1.0f, 1.0f, true, MatrixKind::kWellConditioned};
constexpr Generator kAngles{-1.0e4f, 1.0e4f, 1.0f, true, MatrixKind::kWellConditioned};
constexpr Generator kRotations{-1.0f, 1.0f, 1.0f, true, MatrixKind::kRotation};
constexpr Generator kCrossingLines{
    -10.0f, 10.0f, 10.0f, true, MatrixKind::kWellConditioned, Conditioning::kLineCrossesPlane};
constexpr Generator kTriangles{
    -10.0f, 10.0f, 10.0f, true, MatrixKind::kWellConditioned, Conditioning::kFairTriangle};

// Tolerances (ulps, absolute).
constexpr Tolerance kTight{4, 1e-6};
constexpr Tolerance kRefined{8, 1e-6};         // one Newton-Raphson step on top of a sum
constexpr Tolerance kProducts{4, 8e-6};        // entries up to ~10, sums of four products
constexpr Tolerance kCofactors{64, 4e-4};      // determinants up to ~400 with cancellation
constexpr Tolerance kLines{64, 2e-4};          // divisions by a difference of dot products
constexpr Tolerance kPlaneBuilders{16, 2e-5};  // a normalised plane times itself or a light
constexpr Tolerance kSines{8, 2e-6};           // range reduction of angles up to 1e4
constexpr Tolerance kLoose3DNow{64, 1e-5};     // starting point for the 3DNow! column
constexpr Tolerance kViewport{64,
                              5e-4};  // screen coordinates up to ~1100: a few ulps at that scale

// THE table: one row per slot, in slot order.
const std::array<SlotCase, kSlotCount> kCases{{
    {kVec2Transform, kUnitBox, kTight, kLoose3DNow},
    {kVec3Transform, kUnitBox, kTight, kLoose3DNow},
    {kVec4Transform, kUnitBox, kTight, kLoose3DNow},
    {kMatrixMultiply, kUnitBox, kProducts, kLoose3DNow},
    {kMatrixMultiplyTranspose, kUnitBox, kProducts, kLoose3DNow},
    {kVec2TransformNormal, kUnitBox, kTight, kLoose3DNow},
    {kVec3TransformNormal, kUnitBox, kTight, kLoose3DNow},
    {kVec3Normalize, kWide, kRefined, kLoose3DNow},
    {kVec4Normalize, kWide, kRefined, kLoose3DNow},
    {kVec2TransformCoord, kUnitBox, kRefined, kLoose3DNow},
    {kVec3TransformCoord, kUnitBox, kRefined, kLoose3DNow},
    {kMatrixDeterminant, kUnitBox, kCofactors, kLoose3DNow},
    {kPlaneFromPointNormal, kWide, kTight, kLoose3DNow},
    {kPlaneFromPoints, kTriangles, kLines, kLoose3DNow},
    {kVec3Project, kRotations, kViewport, kViewport},
    {kVec3Unproject, kRotations, kViewport, kViewport},
    {kVec4Cross, kUnitBox, kRefined, kLoose3DNow},
    {kVec2Hermite, kSplines, kProducts, kLoose3DNow},
    {kMatrixInverse, kUnitBox, kCofactors, kLoose3DNow},
    {kQuaternionMultiply, kUnitBox, kTight, kLoose3DNow},
    {kQuaternionNormalize, kWideQuaternions, kRefined, kLoose3DNow},
    {kPlaneNormalize, kWide, kRefined, kLoose3DNow},
    {kPlaneIntersectLine, kCrossingLines, kLines, kLoose3DNow},
    {kQuaternionToAxisAngle, kUnitBox, kTight, kLoose3DNow},
    {kQuaternionRotationMatrix, kRotations, kTight, kLoose3DNow},
    {kQuaternionRotationYawPitchRoll, kAngles, kSines, kLoose3DNow},
    {kMatrixTranslation, kWide, kTight, kLoose3DNow},
    {kMatrixShadow, kWide, kPlaneBuilders, kLoose3DNow},
    {kMatrixReflect, kWide, kPlaneBuilders, kLoose3DNow},
    {kQuaternionRotationAxis, kAngles, kSines, kLoose3DNow},
    {kMatrixRotationX, kAngles, kSines, kLoose3DNow},
    {kMatrixRotationY, kAngles, kSines, kLoose3DNow},
    {kMatrixRotationZ, kAngles, kSines, kLoose3DNow},
    {kMatrixScaling, kWide, kTight, kLoose3DNow},
    {kPlaneTransform, kUnitBox, kTight, kLoose3DNow},
    {kQuaternionSlerp, kInterpolation, kRefined, kLoose3DNow},
    {kQuaternionBaryCentric, kInterpolation, kRefined, kLoose3DNow},
    {kMatrixTranspose, kUnitBox, kTight, kLoose3DNow},
    {kMatrixRotationQuaternion, kUnitBox, kTight, kLoose3DNow},
    {kMatrixTransformation, kUnitBox, kProducts, kLoose3DNow},
    {kMatrixRotationYawPitchRoll, kAngles, kSines, kLoose3DNow},
    {kMatrixAffineTransformation, kUnitBox, kProducts, kLoose3DNow},
    {kMatrixRotationAxis, kAngles, kSines, kLoose3DNow},
    {kQuaternionSquad, kInterpolation, kRefined, kLoose3DNow},
    {kQuaternionInverse, kWideQuaternions, kRefined, kLoose3DNow},
    {kQuaternionSquadSetup, kUnitBox, kRefined, kLoose3DNow},
    {kVec2Normalize, kWide, kRefined, kLoose3DNow},
    {kVec2CatmullRom, kSplines, kProducts, kLoose3DNow},
    {kVec2BaryCentric, kSplines, kProducts, kLoose3DNow},
    {kVec3Hermite, kSplines, kProducts, kLoose3DNow},
    {kVec3CatmullRom, kSplines, kProducts, kLoose3DNow},
    {kVec3BaryCentric, kSplines, kProducts, kLoose3DNow},
    {kVec4Hermite, kSplines, kProducts, kLoose3DNow},
    {kVec4CatmullRom, kSplines, kProducts, kLoose3DNow},
    {kVec4BaryCentric, kSplines, kProducts, kLoose3DNow},
    {kQuaternionLn, kUnitBox, kRefined, kLoose3DNow},
    {kQuaternionExp, kUnitBox, kRefined, kLoose3DNow},
}};

// Per-slot typed runners, generated from the slot list.
struct Runner {
    const char* name;
    std::vector<Outcome> (*run)(OpFn, const Generator&, unsigned, std::size_t, const Layout&);
    std::vector<AliasRun> (*aliased)(OpFn, const Generator&, unsigned, std::size_t);
};

template <class F>
std::vector<Outcome> RunTyped(OpFn fn, const Generator& g, unsigned seed, std::size_t count,
                              const Layout& layout) {
    Rng rng(seed);
    std::vector<Outcome> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(Signature<F>::Call(fn, Signature<F>::Generate(g, rng), layout));
    return out;
}

template <class F>
std::vector<AliasRun> AliasedTyped(OpFn fn, const Generator& g, unsigned seed, std::size_t count) {
    Rng rng(seed);
    std::vector<AliasRun> out;
    const auto pairs = Signature<F>::AliasPairs();
    for (std::size_t i = 0; i < count; ++i) {
        const auto values = Signature<F>::Generate(g, rng);
        const Outcome plain = Signature<F>::Call(fn, values, {});
        for (const auto& [input, output] : pairs) {
            Layout layout;
            layout.aliasInput = input;
            layout.aliasOutput = output;
            out.push_back({"arg" + std::to_string(output) + "=arg" + std::to_string(input), plain,
                           Signature<F>::Call(fn, values, layout)});
        }
    }
    return out;
}

const std::array<Runner, kSlotCount> kRunners{{
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    {#Name, &RunTyped<fn::Name>, &AliasedTyped<fn::Name>},
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}};

}  // namespace

const SlotCase& CaseOf(Slot slot) { return kCases[slot]; }
const char* SlotName(Slot slot) { return kRunners[slot].name; }

std::vector<Outcome> RunSamples(Slot slot, OpFn fn, unsigned seed, std::size_t count,
                                const Layout& layout) {
    return kRunners[slot].run(fn, kCases[slot].generator, seed, count, layout);
}

std::vector<AliasRun> RunAliased(Slot slot, OpFn fn, unsigned seed, std::size_t count) {
    return kRunners[slot].aliased(fn, kCases[slot].generator, seed, count);
}

Layout ShiftedLayout(int offset) {
    Layout layout;
    layout.offset.fill(offset);
    return layout;
}

}  // namespace d3dx::testing
