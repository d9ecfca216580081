// Cutting data into the pieces of a structured append set: near-equal pieces for a count asked
// for, or for the fewest symbols each piece as long as a symbol takes. Header-only, shared by the
// tool and the Python module, which probe with the library whether a piece fits.
#ifndef ECC200_HOST_SPLIT_PLAN_H
#define ECC200_HOST_SPLIT_PLAN_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ecc200_host {

inline constexpr int32_t kMaxSetSymbols = 16;  // symbols in one structured append set

struct Piece {
    std::size_t offset;
    std::size_t length;
};

// The pieces of `length` data bytes for `count` symbols (1..16), or for the fewest symbols when
// count is 0. fits(offset, length, count) tells whether that piece encodes as one symbol of a set
// of count (a count of 1: a plain symbol). Nothing when the data cannot be cut so: a piece for a
// given count does not fit, or even 16 symbols do not hold the data. Pieces are never empty.
template <typename Fits>
std::optional<std::vector<Piece>> PlanSplit(std::size_t length, int32_t count, Fits fits) {
    if (length == 0 || count < 0 || count > kMaxSetSymbols) return std::nullopt;
    std::vector<Piece> pieces;
    if (count > 0) {
        const auto n = static_cast<std::size_t>(count);
        if (n > length) return std::nullopt;
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t begin = length * k / n, end = length * (k + 1) / n;
            if (!fits(begin, end - begin, count)) return std::nullopt;
            pieces.push_back({begin, end - begin});
        }
        return pieces;
    }
    if (fits(0, length, 1)) return std::vector<Piece>{{0, length}};
    // Each symbol takes the longest piece that fits (every symbol of a set has the same header,
    // so the count does not change what fits).
    for (std::size_t offset = 0; offset < length;) {
        if (pieces.size() == static_cast<std::size_t>(kMaxSetSymbols)) return std::nullopt;
        std::size_t fitting = 0, failing = length - offset + 1;
        while (failing - fitting > 1) {
            const std::size_t middle = (fitting + failing) / 2;
            (fits(offset, middle, kMaxSetSymbols) ? fitting : failing) = middle;
        }
        if (fitting == 0) return std::nullopt;
        pieces.push_back({offset, fitting});
        offset += fitting;
    }
    if (pieces.size() < 2) return std::nullopt;  // cannot happen: the whole did not fit
    return pieces;
}

// A file identifier for a set when none is given: two bytes 1..254 taken from a hash of the
// data, so that the same data gives the same set.
inline int32_t FileIdOf(std::string_view data) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : data) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
    const auto first = static_cast<int32_t>(hash % 254u) + 1;
    const auto second = static_cast<int32_t>(hash / 254u % 254u) + 1;
    return first * 256 + second;
}

}  // namespace ecc200_host

#endif  // ECC200_HOST_SPLIT_PLAN_H
