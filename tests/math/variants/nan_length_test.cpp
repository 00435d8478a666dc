// A NaN squared length, through every normaliser of every set. The sets
// differ by design:
//  - x87 reference (Vec2, Vec4, quaternion and plane normalisers): neither
//    near 1 nor above FLT_MIN, so every component is 0;
//  - x87 alternate Vec3Normalize (slot 7 on the x87 path): the bit pattern
//    is not zero and not within 1e-5 of 1, so the table scales every
//    component; the NaN component stays NaN;
//  - SSE and SSE2: the zero-length test "s < 2^-46" is false for NaN, so the
//    length takes the normalising path and every component is NaN;
//  - 3DNow! (and its extensions): the mask "s > FLT_MIN" is false for NaN and
//    clears the inputs, but they are then multiplied by the reciprocal square
//    root of NaN, which is NaN, so every component is NaN.
#include "dispatch/op_table.h"
#include "dispatch/test_hooks.h"

#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace d3dx::testing {
namespace {

enum class Rule {
    kZeros,       // every component 0
    kAllNaN,      // every component NaN
    kNaNStaysNaN  // the NaN input component is NaN in the output
};

const char* NameOf(Rule rule) {
    switch (rule) {
        case Rule::kZeros:
            return "zeros";
        case Rule::kAllNaN:
            return "all NaN";
        default:
            return "NaN stays NaN";
    }
}

struct SetRules {
    const char* name;
    const char* features;
    Rule vec2, vec3, vec4, quaternion, plane;
};

const SetRules kSets[] = {
    {"x87", "none", Rule::kZeros, Rule::kNaNStaysNaN, Rule::kZeros, Rule::kZeros, Rule::kZeros},
    {"Sse", "sse", Rule::kZeros, Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN},
    {"Sse2", "sse,sse2", Rule::kZeros, Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN},
    {"Amd3DNow", "mmx,3dnow", Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN,
     Rule::kAllNaN},
    {"Amd3DNowExt", "mmx,3dnow,3dnowext,mmxext", Rule::kAllNaN, Rule::kAllNaN, Rule::kAllNaN,
     Rule::kAllNaN, Rule::kAllNaN},
};

void PrintTo(const SetRules& set, std::ostream* os) { *os << set.name; }

// Checks `out` (n floats) against the rule for an input whose component
// `nanAt` was NaN.
void ExpectRule(const float* out, int n, int nanAt, Rule rule, const std::string& what) {
    for (int i = 0; i < n; ++i) {
        const std::string where = what + " component " + std::to_string(i) + " (" + NameOf(rule) +
                                  "), got " + std::to_string(out[i]);
        switch (rule) {
            case Rule::kZeros:
                EXPECT_EQ(out[i], 0.0f) << where;
                break;
            case Rule::kAllNaN:
                EXPECT_TRUE(std::isnan(out[i])) << where;
                break;
            case Rule::kNaNStaysNaN:
                if (i == nanAt) {
                    EXPECT_TRUE(std::isnan(out[i])) << where;
                }
                break;
        }
    }
}

class NaNLength : public ::testing::TestWithParam<SetRules> {
protected:
    void SetUp() override { SelectInstructionSet(GetParam().features); }
    void TearDown() override { SelectInstructionSet(""); }
};

// A NaN in each place that counts towards the length, and a quiet NaN of
// either sign.
TEST_P(NaNLength, EveryNormaliserFollowsItsSetsRule) {
    const SetRules& set = GetParam();
    for (float nan : {std::nanf(""), -std::nanf("")}) {
        for (int at = 0; at < 4; ++at) {
            float in[4] = {0.5f, -2.0f, 3.0f, 0.25f};
            in[at] = nan;
            const std::string where = std::string(set.name) + " NaN at " + std::to_string(at);
            float out[4];
            if (at < 2) {
                D3DXVECTOR2 v{in[0], in[1]}, o;
                D3DXVec2Normalize(&o, &v);
                std::memcpy(out, &o, sizeof o);
                ExpectRule(out, 2, at, set.vec2, where + ": D3DXVec2Normalize");
            }
            if (at < 3) {
                D3DXVECTOR3 v{in[0], in[1], in[2]}, o;
                D3DXVec3Normalize(&o, &v);
                std::memcpy(out, &o, sizeof o);
                ExpectRule(out, 3, at, set.vec3, where + ": D3DXVec3Normalize");
                D3DXPLANE p{in[0], in[1], in[2], 4.0f}, po;
                D3DXPlaneNormalize(&po, &p);
                std::memcpy(out, &po, sizeof po);
                ExpectRule(out, 4, at, set.plane, where + ": D3DXPlaneNormalize");
            }
            D3DXVECTOR4 v{in[0], in[1], in[2], in[3]}, o;
            D3DXVec4Normalize(&o, &v);
            std::memcpy(out, &o, sizeof o);
            ExpectRule(out, 4, at, set.vec4, where + ": D3DXVec4Normalize");
            D3DXQUATERNION q{in[0], in[1], in[2], in[3]}, qo;
            D3DXQuaternionNormalize(&qo, &q);
            std::memcpy(out, &qo, sizeof qo);
            ExpectRule(out, 4, at, set.quaternion, where + ": D3DXQuaternionNormalize");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sets, NaNLength, ::testing::ValuesIn(kSets),
                         [](const ::testing::TestParamInfo<SetRules>& info) {
                             return std::string(info.param.name);
                         });

// The plain x87 Vec3Normalize, which the alternate replaces on every path,
// follows the reference rule.
TEST(NaNLength, X87ReferenceVec3NormalizeGivesZeros) {
    const D3DXVECTOR3 v{std::nanf(""), 1.0f, 2.0f};
    D3DXVECTOR3 o{9.0f, 9.0f, 9.0f};
    x87::Vec3Normalize(&o, &v);
    float out[3];
    std::memcpy(out, &o, sizeof o);
    ExpectRule(out, 3, 0, Rule::kZeros, "x87 reference D3DXVec3Normalize");
}

}  // namespace
}  // namespace d3dx::testing
