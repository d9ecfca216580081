// The encode behind every output call. Each numbered step below is one function; the first
// failing step stores its status and ends the encode.
#include "api/encode_pipeline.h"

#include <algorithm>

#include "core/status.h"
#include "ecc/reed_solomon.h"
#include "encodation/auto_scheme.h"
#include "encodation/fixed_scheme.h"
#include "geometry/assembly.h"
#include "geometry/placement_map.h"
#include "geometry/size_table.h"
#include "marks/mark_state.h"
#include "marks/product_mark.h"
#include "marks/user_identity.h"
#include "marks/user_mark.h"

namespace ecc200 {
namespace {

constexpr int32_t kLargestCodewordStream = kCodewordCapacity - 1;  // 2178, for 144x144

bool Fail(Symbol& symbol, StatusCode code) {
    symbol.status = code;
    return false;
}

// A negative result -n of an encoder or of error correction is status n.
bool FailWithResult(Symbol& symbol, int32_t negativeResult) {
    symbol.status = -negativeResult;
    return false;
}

// 1. The encode starts from the requested settings and an empty codeword stream.
void StartFromRequest(Symbol& symbol) {
    symbol.scheme = symbol.requestedScheme;
    symbol.sizeIndex = symbol.requestedSize;
    symbol.codewordCount = 0;
}

// 2.-4. The data codewords, in the one scheme requested or with automatic switching.
bool EncodeData(Symbol& symbol) {
    const int32_t count =
        symbol.scheme == ECC200_SCHEME_AUTO ? EncodeAutoScheme(symbol) : EncodeFixedScheme(symbol);
    if (count < 0) return FailWithResult(symbol, count);
    symbol.codewordCount = count;
    return true;
}

// 5. A fixed size must hold the data codewords; an automatic size is the smallest square size
// that does.
bool ResolveSize(Symbol& symbol) {
    const int32_t count = symbol.codewordCount;
    if (symbol.sizeIndex == kAutomaticSize) {
        const int32_t chosen = ChooseAutomaticSize(count);
        if (chosen == kAutomaticSize) return Fail(symbol, kStatusDataTooLong);
        symbol.sizeIndex = chosen;
        return true;
    }
    if (!IsSizeIndex(symbol.sizeIndex)) return Fail(symbol, kStatusInternal);
    if (count > SizeAt(symbol.sizeIndex).totalDataCodewords) {
        return Fail(symbol, kStatusFixedSizeTooSmall);
    }
    return true;
}

// 6. Pads and error-correction codewords complete the stream.
bool CompleteCodewordStream(Symbol& symbol) {
    const int32_t total = AddErrorCorrection(symbol);
    if (total < 0) return FailWithResult(symbol, total);
    symbol.codewordCount = total;
    return true;
}

// 7. The user mark; the encode goes on unmarked when it cannot be applied.
void ApplyUserMarkIfOn(Symbol& symbol) {
    if (symbol.userMarkOn) ApplyUserMark(symbol);
}

// 8. Guards the placement against a stream that a mark or an encoder left out of range.
bool CheckCodewordCount(Symbol& symbol) {
    if (symbol.codewordCount < 1 || symbol.codewordCount > kLargestCodewordStream) {
        return Fail(symbol, kStatusInternal);
    }
    return true;
}

// 9. The size's placement map, built on first use and cached in the symbol; null (status 18)
// when it cannot be built.
const PlacementEntry* CachedPlacementMap(Symbol& symbol) {
    const int32_t entries = BuildPlacementMap(symbol, symbol.sizeIndex);
    const PlacementEntry* map = symbol.placementMaps[symbol.sizeIndex];
    if (entries == 0 || map == nullptr) {
        Fail(symbol, kStatusInternal);
        return nullptr;
    }
    return map;
}

// 10. The mapping matrix dimensions of the size in use.
void SetMappingDimensions(Symbol& symbol) {
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    symbol.mappingRows = MappingRows(size);
    symbol.mappingCols = MappingCols(size);
}

// Whether every entry of the map names a module inside the rows x cols mapping matrix. Checked
// on every encode (a plain maximum over the entries, which the compiler vectorises) because the
// cached map is the symbol's own memory.
bool MapFitsMatrix(const PlacementEntry* map, int32_t entries, uint32_t rows, uint32_t cols) {
    uint8_t lastRow = 0;
    uint8_t lastCol = 0;
    for (int32_t i = 0; i < entries; ++i) {
        lastRow = std::max(lastRow, map[i].row);
        lastCol = std::max(lastCol, map[i].col);
    }
    return lastRow < rows && lastCol < cols;
}

// 11. Every codeword bit, most significant first, to its module of the mapping matrix, through
// the matrix offsets stored with the map.
bool PlaceCodewordBits(Symbol& symbol, const PlacementEntry* map) {
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    const int32_t codewords = size.regionCount * size.regionRows * size.regionCols / 8;
    const auto rows = static_cast<uint32_t>(symbol.mappingRows);
    const auto cols = static_cast<uint32_t>(symbol.mappingCols);
    if (codewords > symbol.codewordCount) return Fail(symbol, kStatusInternal);
    if (!MapFitsMatrix(map, 8 * codewords, rows, cols)) return Fail(symbol, kStatusInternal);
    uint8_t* const modules = &symbol.matrix[0][0];
    const uint16_t* offset = MatrixOffsets(map, symbol.sizeIndex);
    for (int32_t i = 0; i < codewords; ++i) {
        const uint32_t bits = symbol.codewords[i];
        for (int32_t k = 7; k >= 0; --k) {
            modules[*offset++] = static_cast<uint8_t>((bits >> k) & 1u);
        }
    }
    return true;
}

// 12. The four modules that no codeword covers (12x12, 16x16, 20x20, 24x24) get the fixed
// pattern: dark at the corner and diagonally inside it, light on the other two.
void FillUncoveredCorner(Symbol& symbol) {
    if (ModulesLeftOver(SizeAt(symbol.sizeIndex)) == 0) return;
    const int32_t lastCol = symbol.mappingCols - 1;
    symbol.matrix[0][lastCol] = 1;
    symbol.matrix[0][lastCol - 1] = 0;
    symbol.matrix[1][lastCol] = 0;
    symbol.matrix[1][lastCol - 1] = 1;
}

// 13. The product mark; the encode goes on unmarked when the identity cannot be loaded or the
// mark cannot be applied.
void ApplyProductMarkIfOn(Symbol& symbol) {
    if (!symbol.productMarkOn) return;
    if (symbol.markState == nullptr) symbol.markState = AllocateMarkState();
    if (symbol.markState == nullptr) return;
    symbol.markState->loadState = kLoadRunning;
    if (!LoadUserIdentity(*symbol.markState)) return;
    ApplyProductMark(*symbol.markState, symbol.matrix, symbol.productId, symbol.mappingRows,
                     symbol.mappingCols);
}

// 14. Finder and timing patterns around the data regions.
bool Assemble(Symbol& symbol) {
    if (!AssembleSymbol(symbol)) return Fail(symbol, kStatusInternal);
    symbol.status = kStatusOk;
    symbol.encoded = 1;
    return true;
}

// The steps in order; false at the first that fails.
bool RunSteps(Symbol& symbol) {
    StartFromRequest(symbol);
    if (!EncodeData(symbol)) return false;
    if (!ResolveSize(symbol)) return false;
    if (!CompleteCodewordStream(symbol)) return false;
    ApplyUserMarkIfOn(symbol);
    if (!CheckCodewordCount(symbol)) return false;
    const PlacementEntry* map = CachedPlacementMap(symbol);
    if (map == nullptr) return false;
    SetMappingDimensions(symbol);
    if (!PlaceCodewordBits(symbol, map)) return false;
    FillUncoveredCorner(symbol);
    ApplyProductMarkIfOn(symbol);
    return Assemble(symbol);
}

// Widens the written extent by what a successful encode of the current size touched: its
// codeword stream (the encoders never write past the stream they end with by more than a
// dropped latch, which the error correction overwrites) and the rows of its symbol.
void RecordWrittenExtent(Symbol& symbol, WrittenExtent before) {
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    symbol.written = {
        .matrixRows = std::max(before.matrixRows, static_cast<uint16_t>(size.symbolRows)),
        .codewords = std::max(before.codewords, static_cast<uint16_t>(TotalCodewords(size)))};
}

}  // namespace

bool EncodeSymbol(Symbol& symbol) {
    // Until the encode has succeeded, the reset has to assume that it wrote anywhere.
    const WrittenExtent before = symbol.written;
    symbol.written = {.matrixRows = kMatrixSide, .codewords = kCodewordCapacity};
    if (!RunSteps(symbol)) return false;
    RecordWrittenExtent(symbol, before);
    return true;
}

}  // namespace ecc200
