// Null arguments and aliasing for every 3DNow! variant, table-driven from the
// slot list: a null required pointer returns null (0 for the determinant)
// and writes nothing; an output passed as an input of its type gives the
// same bytes as separate objects.
#include "dispatch/op_table.h"
#include "dispatch/sample_arguments.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include <gtest/gtest.h>

namespace d3dx {
namespace {

// Argument positions that may be null, per slot.
bool IsOptional(int slot, std::size_t position) {
    const auto among = [&](std::initializer_list<std::size_t> positions) {
        for (std::size_t p : positions)
            if (p == position) return true;
        return false;
    };
    switch (slot) {
        case kVec3Project:
        case kVec3Unproject:
            return among({2, 3, 4, 5});
        case kMatrixInverse:
            return among({1});
        case kQuaternionToAxisAngle:
            return among({1, 2});
        case kMatrixTransformation:
            return among({1, 2, 3, 4, 5, 6});
        case kMatrixAffineTransformation:
            return among({2, 3, 4});
        default:
            return false;
    }
}

template <class T>
using Pointee = std::remove_const_t<std::remove_pointer_t<T>>;

template <std::size_t I, class R, class... A>
void ExpectNullAt(const std::string& name, int slot, R (*f)(A...)) {
    using T = std::tuple_element_t<I, std::tuple<A...>>;
    if constexpr (std::is_pointer_v<T>) {
        if (IsOptional(slot, I)) return;
        SampleArguments samples;
        auto args = samples.For(f);
        std::get<I>(args) = nullptr;
        const std::string before = samples.Bytes();
        if constexpr (std::is_void_v<R>) {
            std::apply(f, args);
        } else {
            EXPECT_EQ(std::apply(f, args), R{}) << name << " with argument " << I << " null";
        }
        EXPECT_EQ(samples.Bytes(), before) << name << " wrote with argument " << I << " null";
    }
}

// Output O passed in place of input I (same pointee type).
template <std::size_t O, std::size_t I, class R, class... A>
void ExpectAliasSafe(const std::string& name, R (*f)(A...)) {
    using TO = std::tuple_element_t<O, std::tuple<A...>>;
    using TI = std::tuple_element_t<I, std::tuple<A...>>;
    if constexpr (std::is_pointer_v<TO> && std::is_pointer_v<TI> &&
                  !std::is_const_v<std::remove_pointer_t<TO>> &&
                  std::is_const_v<std::remove_pointer_t<TI>> &&
                  std::is_same_v<Pointee<TO>, Pointee<TI>>) {
        SampleArguments separate;
        auto expected = separate.For(f);
        std::apply(f, expected);
        SampleArguments aliased;
        auto args = aliased.For(f);
        *std::get<O>(args) = *std::get<I>(args);
        std::get<I>(args) = std::get<O>(args);
        std::apply(f, args);
        EXPECT_EQ(std::memcmp(std::get<O>(args), std::get<O>(expected), sizeof(Pointee<TO>)), 0)
            << name << ": output " << O << " aliasing input " << I;
    }
}

template <std::size_t O, class R, class... A>
void ExpectOutputAliasSafe(const std::string& name, R (*f)(A...)) {
    [&]<std::size_t... I>(std::index_sequence<I...>) { (ExpectAliasSafe<O, I>(name, f), ...); }
    (std::index_sequence_for<A...>{});
}

template <class R, class... A>
void ExpectContract(const std::string& name, int slot, R (*f)(A...)) {
    constexpr std::size_t kCount = sizeof...(A);
    [&]<std::size_t... I>(std::index_sequence<I...>) { (ExpectNullAt<I>(name, slot, f), ...); }
    (std::make_index_sequence<kCount>{});
    [&]<std::size_t... O>(std::index_sequence<O...>) { (ExpectOutputAliasSafe<O>(name, f), ...); }
    (std::make_index_sequence<kCount>{});
}

TEST(Amd3DNowContract, NullArgumentsAndAliasingForEverySlot) {
#define D3DX_SLOT(index, Name, Ret, Params, Args) \
    ExpectContract("3DNow! " #Name, index, &amd3dnow::Name);
#include "d3dx_math_slots.def"
#undef D3DX_SLOT
}

TEST(Amd3DNowContract, NullArgumentsAndAliasingForTheExtensionVariants) {
    ExpectContract("ext Vec3Unproject", kVec3Unproject, &amd3dnowext::Vec3Unproject);
    ExpectContract("ext MatrixInverse", kMatrixInverse, &amd3dnowext::MatrixInverse);
    ExpectContract("ext QuaternionRotationMatrix", kQuaternionRotationMatrix,
                   &amd3dnowext::QuaternionRotationMatrix);
    ExpectContract("ext MatrixRotationQuaternion", kMatrixRotationQuaternion,
                   &amd3dnowext::MatrixRotationQuaternion);
    ExpectContract("ext MatrixTransformation", kMatrixTransformation,
                   &amd3dnowext::MatrixTransformation);
}

// The list holds every slot once, in slot order, each with its own variant.
TEST(Amd3DNowContract, VariantListsCoverTheirSlots) {
    ASSERT_EQ(kAmd3DNowVariants.size(), static_cast<std::size_t>(kSlotCount));
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_EQ(kAmd3DNowVariants[i].slot, i);
        EXPECT_NE(kAmd3DNowVariants[i].fn, nullptr);
    }
    const Slot extSlots[] = {kVec3Unproject, kMatrixInverse, kQuaternionRotationMatrix,
                             kMatrixRotationQuaternion, kMatrixTransformation};
    ASSERT_EQ(kAmd3DNowExtVariants.size(), std::size(extSlots));
    for (std::size_t i = 0; i < std::size(extSlots); ++i)
        EXPECT_EQ(kAmd3DNowExtVariants[i].slot, extSlots[i]);
}

}  // namespace
}  // namespace d3dx
