// Sound arguments for calling any slot: each parameter position owns its own
// buffer (so no two arguments alias), input pointees hold well-conditioned
// data (an invertible rotation-scale-translation matrix, unit quaternions, a
// unit-normal plane, a 640x480 viewport), outputs start zeroed, scalars are
// small distinct values. Used by the library's tests and benchmarks.
#pragma once

#include "d3dx_math.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace d3dx {

class SampleArguments {
public:
    // The arguments for a call of f; the pointees live in this object.
    template <class R, class... A>
    std::tuple<A...> For(R (*)(A...)) {
        return ForPositions<A...>(std::index_sequence_for<A...>{});
    }

    template <class R, class... A>
    R Call(R (*f)(A...)) {
        return std::apply(f, For(f));
    }

    // Byte image of every buffer, to compare the effects of two calls.
    std::string Bytes() const {
        return std::string(reinterpret_cast<const char*>(slabs_), sizeof slabs_);
    }

    void Reset() { std::memset(slabs_, 0, sizeof slabs_); }

private:
    static constexpr int kMaxParams = 8;
    struct alignas(16) Slab {
        unsigned char bytes[sizeof(D3DXMATRIX)];
    };

    template <class... A, size_t... I>
    std::tuple<A...> ForPositions(std::index_sequence<I...>) {
        return std::tuple<A...>(Arg<A>(I)...);
    }

    template <class T>
    T Arg(size_t position) {
        if constexpr (std::is_pointer_v<T>) {
            using Pointee = std::remove_pointer_t<T>;
            auto* p = reinterpret_cast<std::remove_const_t<Pointee>*>(slabs_[position].bytes);
            if constexpr (std::is_const_v<Pointee>) Fill(p, position);
            return p;
        } else {
            return 0.25f + 0.125f * static_cast<float>(position);
        }
    }

    static void Fill(D3DXMATRIX* m, size_t position) {
        // A rotation about z by asin(0.6), a scale of 2 along z and a
        // translation that differs per position.
        const float t = static_cast<float>(position);
        *m = D3DXMATRIX{{{0.8f, 0.6f, 0.0f, 0.0f},
                         {-0.6f, 0.8f, 0.0f, 0.0f},
                         {0.0f, 0.0f, 2.0f, 0.0f},
                         {1.0f + t, -2.0f, 3.0f - t, 1.0f}}};
    }
    static void Fill(D3DXQUATERNION* q, size_t position) {
        // (+-1, 2, 3, 4) / sqrt(30).
        const float sign = position % 2 ? -1.0f : 1.0f;
        *q = D3DXQUATERNION{0.18257419f * sign, 0.36514837f, 0.54772256f, 0.73029674f};
    }
    static void Fill(D3DXPLANE* p, size_t position) {
        *p = D3DXPLANE{0.0f, 0.6f, 0.8f, -1.0f - static_cast<float>(position)};
    }
    static void Fill(D3DXVIEWPORT* v, size_t) { *v = D3DXVIEWPORT{0, 0, 640, 480, 0.0f, 1.0f}; }
    // Vectors differ per position in a different component each, so points
    // taken from consecutive positions are never collinear.
    template <class V>
    static void Fill(V* v, size_t position) {
        constexpr size_t kComponents = sizeof(V) / sizeof(float);
        float* f = reinterpret_cast<float*>(v);
        for (size_t i = 0; i < kComponents; ++i) {
            f[i] = 0.5f + static_cast<float>(i) + 0.25f * static_cast<float>(position);
        }
        f[position % kComponents] += 1.0f;
    }

    Slab slabs_[kMaxParams] = {};
};

// Calls visit(slotIndex, publicEntry) for every slot in slot order.
template <class Visitor>
void ForEachPublicEntry(Visitor&& visit) {
#define D3DX_SLOT(index, Name, Ret, Params, Args) visit(index, &::D3DX##Name);
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}

}  // namespace d3dx
