// Reads the operation-table position of a virtual member function from a
// pointer to it (two-word member pointers, where a virtual one holds 1 plus
// the byte offset of its table entry). The virtual destructor takes the
// first two positions, so table entry k >= 2 sits at index k.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorq::testing {

template <typename MemberFunction>
std::ptrdiff_t VtableIndex(MemberFunction function) {
    static_assert(sizeof(MemberFunction) == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &function, sizeof words);
    if ((words[0] & 1u) == 0) return -1;  // not virtual
    return static_cast<std::ptrdiff_t>((words[0] - 1) / sizeof(void*));
}

}  // namespace zorq::testing
