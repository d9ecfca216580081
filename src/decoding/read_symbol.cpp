// The read, as numbered steps: the size from the dimensions, the mapping matrix without its
// patterns, the product mark lifted, the codewords in placement order, each block corrected, the
// data decoded, the user mark checked. Every working buffer is on the stack.
#include "decoding/read_symbol.h"

#include <cstring>

#include "core/bounded_length.h"
#include "core/symbol.h"
#include "decoding/block_correction.h"
#include "decoding/codeword_reading.h"
#include "decoding/data_decodation.h"
#include "decoding/mapping_extraction.h"
#include "decoding/size_lookup.h"
#include "decoding/user_mark_verdict.h"
#include "geometry/size_table.h"
#include "marks/product_mark.h"
#include "marks/user_identity.h"

namespace ecc200 {
namespace {

// 1. A fresh reading that knows its dimensions.
void ResetReading(ECC200_Reading& reading, int32_t rows, int32_t cols) {
    std::memset(&reading, 0, sizeof reading);
    reading.rows = rows;
    reading.cols = cols;
    reading.eci = -1;
}

// 2. A product identifier, when given, holds 1..100 characters.
bool ProductIdAcceptable(const char* productId) {
    if (productId == nullptr) return true;
    const int32_t length = BoundedLength(productId, kMaxProductIdLength);
    return length >= 1 && length <= kMaxProductIdLength;
}

// 6. Every block's count of corrected codewords.
void RecordCorrections(const SymbolSize& size, const StreamCorrections& corrections,
                       ECC200_Reading& reading) {
    reading.blockCount = size.blockCount;
    for (int32_t block = 0; block < size.blockCount; ++block) {
        reading.errors[block] = corrections[block].count;
    }
}

}  // namespace

StatusCode ReadSymbol(const uint8_t* modules, int32_t rows, int32_t cols, const char* productId,
                      const char* identityFile, ECC200_Reading& reading) {
    // 1. The size.
    ResetReading(reading, rows, cols);
    const int32_t sizeIndex = SizeIndexOf(rows, cols);
    if (sizeIndex == kNoSize || modules == nullptr) return kStatusBadParameter;
    const SymbolSize& size = SizeAt(sizeIndex);

    // 2. The identity, which a product mark needs and the user mark is checked against.
    if (!ProductIdAcceptable(productId)) return kStatusBadParameter;
    MarkState identity{};
    const char* identityPath = identityFile != nullptr ? identityFile : kUserIdentityFile;
    const bool identityLoaded = LoadMarkIdentityInto(identity, identityPath) == kStatusOk;
    if (productId != nullptr && !identityLoaded) return kStatusNoIdentity;

    // 3. The mapping matrix, once the patterns show the matrix is this size upright.
    MappingMatrix mapping;
    if (!ExtractMappingMatrix(modules, size, mapping)) return kStatusUnreadable;

    // 4. The product mark's walk once more undoes its inversions.
    if (productId != nullptr) {
        if (!ApplyProductMark(identity, mapping, productId, MappingRows(size), MappingCols(size))) {
            return kStatusInternal;
        }
        reading.productMarkLifted = 1;
    }

    // 5. The codewords, then 6. each block corrected.
    uint8_t codewords[kCodewordCapacity];
    ReadCodewords(mapping, size, codewords);
    StreamCorrections corrections;
    if (!CorrectCodewordStream(codewords, size, corrections)) return kStatusUnreadable;
    RecordCorrections(size, corrections, reading);

    // 7. The data.
    if (!DecodeDataCodewords(codewords, size.totalDataCodewords, reading)) {
        return kStatusUnreadable;
    }

    // 8. The user mark, against the bytes the host handed the encoder.
    if (identityLoaded) {
        const UserMarkVerdict verdict =
            CheckUserMark(identity, sizeIndex, reading.data, reading.dataLength, corrections);
        reading.userMark = verdict.verdict;
        reading.userMarkBlocks = verdict.markedBlocks;
    } else {
        reading.userMark = ECC200_MARK_UNCHECKED;
    }
    return kStatusOk;
}

}  // namespace ecc200
