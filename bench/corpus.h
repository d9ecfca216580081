// The fixed, seeded corpus: four classes of data at fixed lengths and at the largest length
// that still fits a 144x144 symbol.
#ifndef ECC200_BENCH_CORPUS_H
#define ECC200_BENCH_CORPUS_H

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "job.h"

namespace bench {

// splitmix64: small and exactly defined, so the corpus does not depend on the standard library.
class SeededStream {
  public:
    explicit SeededStream(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint8_t Pick(std::string_view alphabet) {
        return static_cast<std::uint8_t>(alphabet[Next() % alphabet.size()]);
    }

  private:
    std::uint64_t state_;
};

enum class DataClass { kDigits, kUpperText, kMixedText, kBinary };

struct CorpusRow {
    DataClass dataClass;
    bool largest;  // the largest length of its class that fits 144x144
    Bytes data;

    std::string Label() const;  // e.g. "digits 200" or "binary 1555 (max)"
};

// Whether data fits a square symbol of at most 144x144 with automatic scheme.
using FitsLargestSquare = std::function<bool(const Bytes&)>;

inline constexpr std::size_t kMaxDataLength = 3116;

std::string ClassName(DataClass dataClass);

// The first length bytes of the class's seeded stream; the same bytes on every run and machine.
Bytes ClassData(DataClass dataClass, std::size_t length);

// The largest prefix length of the class's stream that fits, by bisection.
std::size_t LargestFittingLength(DataClass dataClass, const FitsLargestSquare& fits);

// All rows, class by class: lengths 5, 20, 60, 200, 500, then the largest that fits.
// The quick corpus has lengths 5 and 200 only.
std::vector<CorpusRow> BuildCorpus(bool quick, const FitsLargestSquare& fits);

}  // namespace bench

#endif
