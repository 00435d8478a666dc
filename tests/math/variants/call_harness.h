// Calls any slot's operation through an untyped table word, with its inputs
// generated from a per-slot generator, its arguments placed at chosen
// addresses (aligned, misaligned, or one output standing in for an input of
// the same type), and everything it wrote flattened into a list of floats.
#pragma once

#include "dispatch/op_table.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace d3dx::testing {

using Rng = std::mt19937;

// ---------------------------------------------------------------------------
// Input generators.

enum class MatrixKind {
    kWellConditioned,  // diagonally dominant; last column keeps w' >= 2 for unit-box points
    kRotation,         // rotation matrix of a random unit quaternion
};

// Samples an operation is ill-conditioned on (where any single-precision
// method must differ from the extended-precision reference) are drawn again.
enum class Conditioning {
    kAny,
    kLineCrossesPlane,  // plane, V1, V2: the line meets the plane at a fair angle
    kFairTriangle,      // V1, V2, V3: not close to collinear
};

struct Generator {
    float scalarLow = -1.0f;  // floats passed by value
    float scalarHigh = 1.0f;
    float vectorRange = 1.0f;  // vector, point and plane components in [-range, range]
    bool unitQuaternions = true;
    MatrixKind matrix = MatrixKind::kWellConditioned;
    Conditioning conditioning = Conditioning::kAny;
};

inline float Uniform(Rng& rng, float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(rng);
}

inline D3DXQUATERNION RandomUnitQuaternion(Rng& rng) {
    for (;;) {
        const double x = Uniform(rng, -1, 1), y = Uniform(rng, -1, 1), z = Uniform(rng, -1, 1),
                     w = Uniform(rng, -1, 1);
        const double length = std::sqrt(x * x + y * y + z * z + w * w);
        if (length < 0.1 || length > 1.0) continue;
        return {static_cast<float>(x / length), static_cast<float>(y / length),
                static_cast<float>(z / length), static_cast<float>(w / length)};
    }
}

inline D3DXMATRIX RotationOf(const D3DXQUATERNION& q) {
    const double x = q.x, y = q.y, z = q.z, w = q.w;
    const double m[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y + z * w), 2 * (x * z - y * w)},
                            {2 * (x * y - z * w), 1 - 2 * (x * x + z * z), 2 * (y * z + x * w)},
                            {2 * (x * z + y * w), 2 * (y * z - x * w), 1 - 2 * (x * x + y * y)}};
    D3DXMATRIX out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out.m[i][j] = static_cast<float>(m[i][j]);
    out.m[3][3] = 1.0f;
    return out;
}

inline D3DXMATRIX WellConditionedMatrix(Rng& rng) {
    D3DXMATRIX out{};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) out.m[i][j] = Uniform(rng, -0.5f, 0.5f);
        const float diagonal = Uniform(rng, 3.0f, 4.0f);
        out.m[i][i] += Uniform(rng, 0.0f, 1.0f) < 0.5f ? -diagonal : diagonal;
    }
    out.m[3][3] = std::fabs(out.m[3][3]);
    for (int i = 0; i < 3; ++i) out.m[i][3] *= 0.5f;
    return out;
}

template <class T>
T GenerateValue(const Generator& g, Rng& rng) {
    if constexpr (std::is_same_v<T, D3DXMATRIX>) {
        return g.matrix == MatrixKind::kRotation ? RotationOf(RandomUnitQuaternion(rng))
                                                 : WellConditionedMatrix(rng);
    } else if constexpr (std::is_same_v<T, D3DXQUATERNION>) {
        if (g.unitQuaternions) return RandomUnitQuaternion(rng);
        const float r = g.vectorRange;
        return {Uniform(rng, -r, r), Uniform(rng, -r, r), Uniform(rng, -r, r), Uniform(rng, -r, r)};
    } else if constexpr (std::is_same_v<T, D3DXVIEWPORT>) {
        return {static_cast<uint32_t>(Uniform(rng, 0, 100)),
                static_cast<uint32_t>(Uniform(rng, 0, 100)),
                static_cast<uint32_t>(Uniform(rng, 100, 1000)),
                static_cast<uint32_t>(Uniform(rng, 100, 1000)),
                Uniform(rng, 0.0f, 0.4f),
                Uniform(rng, 0.6f, 1.0f)};
    } else if constexpr (std::is_same_v<T, float>) {
        return Uniform(rng, g.scalarLow, g.scalarHigh);
    } else {
        static_assert(sizeof(T) % sizeof(float) == 0);
        std::array<float, sizeof(T) / sizeof(float)> c{};
        for (float& v : c) v = Uniform(rng, -g.vectorRange, g.vectorRange);
        return std::bit_cast<T>(c);
    }
}

// Conditioning tests, chosen by the argument types of the slot.
inline double Dot3(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
           static_cast<double>(a.z) * b.z;
}
inline D3DXVECTOR3 Minus(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

template <class Values>
bool WellConditioned(Conditioning, const Values&) {
    return true;
}

// The denominator n.V1 - n.V2 is at least a quarter of |n||V1 - V2|.
inline bool WellConditioned(Conditioning c,
                            const std::tuple<D3DXVECTOR3, D3DXPLANE, D3DXVECTOR3, D3DXVECTOR3>& v) {
    if (c != Conditioning::kLineCrossesPlane) return true;
    const D3DXPLANE& p = std::get<1>(v);
    const D3DXVECTOR3 n{p.a, p.b, p.c};
    const D3DXVECTOR3 line = Minus(std::get<2>(v), std::get<3>(v));
    return std::fabs(Dot3(n, line)) >= 0.25 * std::sqrt(Dot3(n, n) * Dot3(line, line));
}

// The triangle's area is at least a quarter of the largest possible for its sides.
inline bool WellConditioned(Conditioning c,
                            const std::tuple<D3DXPLANE, D3DXVECTOR3, D3DXVECTOR3, D3DXVECTOR3>& v) {
    if (c != Conditioning::kFairTriangle) return true;
    const D3DXVECTOR3 e = Minus(std::get<1>(v), std::get<2>(v));
    const D3DXVECTOR3 f = Minus(std::get<1>(v), std::get<3>(v));
    const D3DXVECTOR3 n = Cross(e, f);
    return std::sqrt(Dot3(n, n)) >= 0.25 * std::sqrt(Dot3(e, e) * Dot3(f, f));
}

// What an output holds before the call: a quiet NaN with a recognisable
// payload, so that an unwritten output compares equal only to another
// unwritten output.
inline constexpr uint32_t kUnwrittenBits = 0x7FC0DEAD;

template <class T>
T Unwritten() {
    std::array<uint32_t, sizeof(T) / sizeof(uint32_t)> words{};
    words.fill(kUnwrittenBits);
    return std::bit_cast<T>(words);
}

// ---------------------------------------------------------------------------
// Argument kinds: floats by value, const pointers (inputs), other pointers
// (outputs). Each is held by value; pointers are made at call time.

template <class A>
struct ArgKind {
    using Value = A;  // by value
    static constexpr bool kIsPointer = false;
    static constexpr bool kIsOutput = false;
};
template <class T>
struct ArgKind<const T*> {
    using Value = T;
    static constexpr bool kIsPointer = true;
    static constexpr bool kIsOutput = false;
};
template <class T>
struct ArgKind<T*> {
    using Value = T;
    static constexpr bool kIsPointer = true;
    static constexpr bool kIsOutput = true;
};

inline constexpr int kMaxArgs = 8;

// Where each argument lives for one call.
struct Layout {
    std::array<int, kMaxArgs> offset{};  // byte offset from a 16-byte boundary (multiple of 4)
    int aliasInput = -1;                 // this input ...
    int aliasOutput = -1;                // ... is passed as this output's object
};

// The flattened outcome: every output's floats in argument order, then the
// result (a float, or 0/1 for "returned null"/"returned a pointer").
using Outcome = std::vector<float>;

template <class T>
void AppendFloats(Outcome& out, const T& value) {
    std::array<float, sizeof(T) / sizeof(float)> f{};
    std::memcpy(f.data(), &value, sizeof(T));
    out.insert(out.end(), f.begin(), f.end());
}

template <class F>
struct Signature;

template <class R, class... A>
struct Signature<R(A...)> {
    static constexpr std::size_t kCount = sizeof...(A);
    static_assert(kCount <= kMaxArgs);
    using Values = std::tuple<typename ArgKind<A>::Value...>;
    template <std::size_t I>
    using Arg = std::tuple_element_t<I, std::tuple<A...>>;

    static Values Generate(const Generator& g, Rng& rng) {
        Values v;
        do {
            GenerateEach(v, g, rng, std::index_sequence_for<A...>{});
        } while (!WellConditioned(g.conditioning, v));
        return v;
    }

    // Indices of outputs and inputs that share a type (candidates for aliasing).
    static std::vector<std::pair<int, int>> AliasPairs() {
        std::vector<std::pair<int, int>> pairs;
        CollectPairs(pairs, std::index_sequence_for<A...>{});
        return pairs;
    }

    static Outcome Call(OpFn f, const Values& values, const Layout& layout) {
        return CallWith(reinterpret_cast<R (*)(A...)>(f), values, layout,
                        std::index_sequence_for<A...>{});
    }

private:
    struct alignas(16) Cell {
        unsigned char bytes[128];
    };

    template <std::size_t... I>
    static void GenerateEach(Values& v, const Generator& g, Rng& rng, std::index_sequence<I...>) {
        ((std::get<I>(v) = ArgKind<Arg<I>>::kIsOutput
                               ? Unwritten<typename ArgKind<Arg<I>>::Value>()
                               : GenerateValue<typename ArgKind<Arg<I>>::Value>(g, rng)),
         ...);
    }

    template <std::size_t O, std::size_t I>
    static void PairIf(std::vector<std::pair<int, int>>& pairs) {
        using KO = ArgKind<Arg<O>>;
        using KI = ArgKind<Arg<I>>;
        if constexpr (KO::kIsOutput && KI::kIsPointer && !KI::kIsOutput &&
                      std::is_same_v<typename KO::Value, typename KI::Value>) {
            pairs.emplace_back(static_cast<int>(I), static_cast<int>(O));
        }
    }
    template <std::size_t O, std::size_t... I>
    static void PairsOf(std::vector<std::pair<int, int>>& pairs, std::index_sequence<I...>) {
        (PairIf<O, I>(pairs), ...);
    }
    template <std::size_t... O>
    static void CollectPairs(std::vector<std::pair<int, int>>& pairs,
                             std::index_sequence<O...> all) {
        (PairsOf<O>(pairs, all), ...);
    }

    template <std::size_t I>
    static void* CellOf(std::array<Cell, kMaxArgs>& cells, const Layout& layout) {
        const std::size_t owner = static_cast<int>(I) == layout.aliasInput ? layout.aliasOutput : I;
        return cells[owner].bytes + layout.offset[owner];
    }

    template <std::size_t I>
    static void Place(std::array<Cell, kMaxArgs>& cells, const Values& values,
                      const Layout& layout) {
        using K = ArgKind<Arg<I>>;
        if constexpr (K::kIsPointer) {
            // The aliased output's object starts out holding the input's value.
            if (static_cast<int>(I) == layout.aliasOutput) return;
            const int target =
                static_cast<int>(I) == layout.aliasInput ? layout.aliasOutput : static_cast<int>(I);
            std::memcpy(cells[target].bytes + layout.offset[target], &std::get<I>(values),
                        sizeof(typename K::Value));
        }
    }

    template <std::size_t I>
    static Arg<I> Pass(std::array<Cell, kMaxArgs>& cells, const Values& values,
                       const Layout& layout) {
        if constexpr (ArgKind<Arg<I>>::kIsPointer) {
            return static_cast<Arg<I>>(CellOf<I>(cells, layout));
        } else {
            return std::get<I>(values);
        }
    }

    template <std::size_t I>
    static void Collect(Outcome& out, std::array<Cell, kMaxArgs>& cells, const Layout& layout) {
        using K = ArgKind<Arg<I>>;
        if constexpr (K::kIsOutput) {
            typename K::Value v;
            std::memcpy(&v, cells[I].bytes + layout.offset[I], sizeof v);
            AppendFloats(out, v);
        }
    }

    template <std::size_t... I>
    static Outcome CallWith(R (*f)(A...), const Values& values, const Layout& layout,
                            std::index_sequence<I...>) {
        std::array<Cell, kMaxArgs> cells{};
        (Place<I>(cells, values, layout), ...);
        Outcome out;
        if constexpr (std::is_void_v<R>) {
            f(Pass<I>(cells, values, layout)...);
            (Collect<I>(out, cells, layout), ...);
        } else {
            const R result = f(Pass<I>(cells, values, layout)...);
            (Collect<I>(out, cells, layout), ...);
            if constexpr (std::is_pointer_v<R>) {
                out.push_back(result == nullptr ? 0.0f : 1.0f);
            } else {
                out.push_back(result);
            }
        }
        return out;
    }
};

}  // namespace d3dx::testing
