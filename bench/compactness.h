// How small each encoder's symbols are: symbol size and data codewords per encoder on seeded
// samples of five classes (text, digits, URLs, binary, GS1 element strings), square sizes and
// any shape, plus a few named examples. Every symbol is read back before it counts.
#ifndef ECC200_BENCH_COMPACTNESS_H
#define ECC200_BENCH_COMPACTNESS_H

#include <ostream>

namespace bench {

// Prints the tables; false when a symbol of ours did not read back as its sample.
bool PrintCompactness(bool quick, std::ostream& out);

}  // namespace bench

#endif
