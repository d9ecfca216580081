// The samples of the compactness tables: five classes drawn from seeded streams (the same bytes
// on every run), and a few named examples.
#ifndef ECC200_BENCH_COMPACT_SAMPLES_H
#define ECC200_BENCH_COMPACT_SAMPLES_H

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "corpus.h"
#include "symbol_maker.h"

namespace bench {

struct SampleClass {
    const char* name;
    Sample (*make)(SeededStream&);
};

// Text, digits, URLs, binary and GS1 element strings.
extern const std::array<SampleClass, 5> kSampleClasses;

// Labelled samples, among them the strings users report as larger than other encoders make.
std::vector<std::pair<std::string, Sample>> NamedExamples();

}  // namespace bench

#endif
