#include "row_filters.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace mipchain {
namespace {

constexpr std::array kEveryFilter{RowFilter::kNone, RowFilter::kSub, RowFilter::kUp,
                                  RowFilter::kAverage, RowFilter::kPaeth};

// Whichever of a, b and c is nearest p = a + b - c, ties going to a, then b.
inline uint8_t PaethPredictor(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
}

// One filter over one row. The first pixel has no left neighbour (a = c = 0);
// the loops after it have no branch, so the compiler can vectorise them.
template <unsigned Bpp>
void FilterRowBytes(RowFilter filter, const uint8_t* x, const uint8_t* b, std::size_t n,
                    uint8_t* out) {
    const std::size_t first = std::min<std::size_t>(Bpp, n);
    switch (filter) {
        case RowFilter::kNone:
            std::copy(x, x + n, out);
            return;
        case RowFilter::kSub:
            std::copy(x, x + first, out);
            for (std::size_t i = Bpp; i < n; ++i) out[i] = static_cast<uint8_t>(x[i] - x[i - Bpp]);
            return;
        case RowFilter::kUp:
            for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(x[i] - b[i]);
            return;
        case RowFilter::kAverage:
            for (std::size_t i = 0; i < first; ++i)
                out[i] = static_cast<uint8_t>(x[i] - (b[i] >> 1));
            for (std::size_t i = Bpp; i < n; ++i)
                out[i] = static_cast<uint8_t>(x[i] - ((x[i - Bpp] + b[i]) >> 1));
            return;
        case RowFilter::kPaeth:
            for (std::size_t i = 0; i < first; ++i) out[i] = static_cast<uint8_t>(x[i] - b[i]);
            for (std::size_t i = Bpp; i < n; ++i)
                out[i] = static_cast<uint8_t>(x[i] - PaethPredictor(x[i - Bpp], b[i], b[i - Bpp]));
            return;
    }
}

void FilterRowBytes(RowFilter filter, unsigned bytesPerPixel, const uint8_t* x, const uint8_t* b,
                    std::size_t n, uint8_t* out) {
    if (bytesPerPixel == 4) {
        FilterRowBytes<4>(filter, x, b, n, out);
    } else {
        FilterRowBytes<3>(filter, x, b, n, out);
    }
}

// The sum of the filtered bytes' magnitudes, each read as a signed byte.
uint64_t SumOfMagnitudes(const uint8_t* bytes, std::size_t n) {
    uint64_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += static_cast<uint8_t>(std::abs(int8_t(bytes[i])));
    return sum;
}

}  // namespace

RowFilterer::RowFilterer(std::size_t rowBytes, unsigned bytesPerPixel)
    : rowBytes_(rowBytes),
      bytesPerPixel_(bytesPerPixel),
      zeros_(rowBytes, 0),
      candidate_(rowBytes) {}

void RowFilterer::Append(std::span<const uint8_t> row, std::span<const uint8_t> above,
                         std::vector<uint8_t>& out) {
    const uint8_t* b = above.empty() ? zeros_.data() : above.data();
    const std::size_t start = out.size();
    out.resize(start + 1 + rowBytes_);
    uint8_t* filtered = &out[start + 1];
    uint64_t best = UINT64_MAX;
    for (RowFilter filter : kEveryFilter) {
        FilterRowBytes(filter, bytesPerPixel_, row.data(), b, rowBytes_, candidate_.data());
        const uint64_t sum = SumOfMagnitudes(candidate_.data(), rowBytes_);
        if (sum < best) {
            best = sum;
            out[start] = static_cast<uint8_t>(filter);
            std::copy(candidate_.begin(), candidate_.end(), filtered);
        }
    }
}

}  // namespace mipchain
