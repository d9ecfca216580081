// The fixed, seeded corpus: four classes of data at fixed lengths and at the largest length
// that still fits a 144x144 symbol.
#ifndef ECC200_BENCH_CORPUS_H
#define ECC200_BENCH_CORPUS_H

#include <functional>
#include <string>
#include <vector>

#include "job.h"

namespace bench {

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
