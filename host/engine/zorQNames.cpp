// The host's rule for comparing names.
#include "zorQNames.h"

#include "zorQNameHash.h"

#include <cstdint>

namespace {

// FNV-1a over the folded bytes.
constexpr std::uint64_t kHashOffset = 14695981039346656037ull;
constexpr std::uint64_t kHashPrime = 1099511628211ull;

}  // namespace

char zorQ_FoldNameChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool zorQ_NamesEqual(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return zorQ_NamesCompare(a, b) == 0;
}

int zorQ_NamesCompare(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const auto left = static_cast<unsigned char>(zorQ_FoldNameChar(*a));
        const auto right = static_cast<unsigned char>(zorQ_FoldNameChar(*b));
        if (left != right) return left < right ? -1 : 1;
        if (left == '\0') return 0;
    }
}

bool zorQNameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (zorQ_FoldNameChar(a[i]) != zorQ_FoldNameChar(b[i])) return false;
    return true;
}

std::size_t zorQNameHash::operator()(std::string_view name) const {
    std::uint64_t hash = kHashOffset;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(zorQ_FoldNameChar(c));
        hash *= kHashPrime;
    }
    return static_cast<std::size_t>(hash);
}
