// The encode behind every output call. Each numbered step below is one function; the first
// failing step stores its status and ends the encode.
#include "api/encode_pipeline.h"

#include <algorithm>
#include <cstring>

#include "core/status.h"
#include "ecc/reed_solomon.h"
#include "encodation/auto_scheme.h"
#include "encodation/fixed_scheme.h"
#include "encodation/smallest.h"
#include "encodation/stream_prefix.h"
#include "geometry/assembly.h"
#include "geometry/placement_map.h"
#include "geometry/size_table.h"
#include "gs1/element_string.h"
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
    symbol.encoded = 0;
    symbol.scheme = symbol.requestedScheme;
    symbol.sizeIndex = symbol.requestedSize;
    symbol.codewordCount = 0;
}

// The message that a refused prefix stores.
const char* RefusalMessage(PrefixRefusal refusal) {
    switch (refusal) {
        case PrefixRefusal::kAppendIncomplete:
            return kMessageAppendIncomplete;
        case PrefixRefusal::kReaderProgrammingCombined:
            return kMessageReaderProgramming;
        default:
            return kMessageBadParameters;
    }
}

// Reader programming or the structured append header, then the ECI designator, the FNC1 of GS1
// data or a macro codeword open the stream; options that contradict each other are refused.
bool WritePrefix(Symbol& symbol) {
    const StreamPrefix prefix = WriteStreamPrefix(symbol);
    if (prefix.length < 0) {
        static_assert(sizeof kMessageAppendIncomplete <= sizeof symbol.message &&
                      sizeof kMessageReaderProgramming <= sizeof symbol.message);
        std::strcpy(symbol.message, RefusalMessage(prefix.refusal));
        return FailWithResult(symbol, prefix.length);
    }
    symbol.codewordCount = prefix.length;
    return true;
}

// GS1 data keeps GS1's rules: every field, and the relations between the AIs unless the option
// asks for the fields only. The message names the AI, the component and the rule.
bool CheckGs1Data(Symbol& symbol) {
    if (symbol.options.gs1 == ECC200_GS1_OFF) return true;
    gs1::Message message(symbol.message, sizeof symbol.message);
    const std::string_view data(reinterpret_cast<const char*>(symbol.data),
                                static_cast<std::size_t>(symbol.dataLength));
    const bool relations = symbol.options.gs1 == ECC200_GS1_CHECKED;
    if (gs1::CheckElementString(data, relations, message) == gs1::Verdict::kValid) return true;
    return Fail(symbol, kStatusGs1);
}

// The automatic scheme writes the smallest encodation when asked to and always for GS1 data.
bool UsesSmallestEncodation(const Symbol& symbol) {
    return symbol.requestedScheme == ECC200_SCHEME_AUTO &&
           (symbol.options.encodation == ECC200_ENCODATION_SMALLEST || symbol.options.gs1 != 0);
}

bool StoreEncodation(Symbol& symbol, int32_t count) {
    if (count < 0) return FailWithResult(symbol, count);
    symbol.codewordCount = count;
    return true;
}

// 2.-4. The data codewords, in the one scheme requested, with automatic switching or in the
// smallest encodation.
bool EncodeData(Symbol& symbol) {
    if (UsesSmallestEncodation(symbol)) return StoreEncodation(symbol, EncodeSmallest(symbol));
    return StoreEncodation(symbol, symbol.scheme == ECC200_SCHEME_AUTO ? EncodeAutoScheme(symbol)
                                                                       : EncodeFixedScheme(symbol));
}

// 5. A fixed size must hold the data codewords; an automatic size is the first size of the
// automatic order (square sizes, or all shapes by area) that does.
bool ResolveSize(Symbol& symbol) {
    const int32_t count = symbol.codewordCount;
    if (symbol.sizeIndex == kAutomaticSize) {
        const int32_t chosen = ChooseAutomaticSize(count, symbol.options.shape);
        if (chosen == kNoSize) return Fail(symbol, kStatusDataTooLong);
        symbol.sizeIndex = chosen;
        return true;
    }
    if (!IsSizeIndex(symbol.sizeIndex)) return Fail(symbol, kStatusInternal);
    if (count > SizeAt(symbol.sizeIndex).totalDataCodewords) {
        return Fail(symbol, kStatusFixedSizeTooSmall);
    }
    return true;
}

// 2.-5. The prefix, the GS1 check, the data codewords and the size. When the look-ahead's stream of
// the automatic scheme does not fit (the fixed size or every size), the data is encoded again in
// the smallest encodation, which takes the symbol where it fits. Streams that fit are never
// replaced, so encodes that succeeded before keep their symbols.
bool EncodeAndResolveSize(Symbol& symbol) {
    if (!WritePrefix(symbol) || !CheckGs1Data(symbol)) return false;
    const int32_t prefix = symbol.codewordCount;
    if (EncodeData(symbol) && ResolveSize(symbol)) return true;
    const bool tooLong =
        symbol.status == kStatusFixedSizeTooSmall || symbol.status == kStatusDataTooLong;
    if (!tooLong || symbol.requestedScheme != ECC200_SCHEME_AUTO ||
        UsesSmallestEncodation(symbol)) {
        return false;
    }
    symbol.sizeIndex = symbol.requestedSize;
    symbol.codewordCount = prefix;
    return StoreEncodation(symbol, EncodeSmallest(symbol)) && ResolveSize(symbol);
}

// 6. Pads and error-correction codewords complete the stream.
bool CompleteCodewordStream(Symbol& symbol) {
    const int32_t total = AddErrorCorrection(symbol);
    if (total < 0) return FailWithResult(symbol, total);
    symbol.codewordCount = total;
    return true;
}

// 7. With a mark on, the identity is loaded once for this encode and keys both marks. A mark
// that is on is never left out: when the identity cannot be loaded or used, the encode fails.
bool LoadIdentityIfMarked(Symbol& symbol) {
    if (symbol.userMarkOn == 0 && symbol.productMarkOn == 0) return true;
    const StatusCode loaded = LoadMarkIdentity(symbol.markState);
    return loaded == kStatusOk || Fail(symbol, loaded);
}

// The user mark on the codeword stream. It refuses only an identity too long for its key,
// which the load has ruled out.
bool ApplyUserMarkIfOn(Symbol& symbol) {
    if (symbol.userMarkOn == 0 || ApplyUserMark(*symbol.markState, symbol)) return true;
    return Fail(symbol, kStatusInternal);
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

// Whether the bits go straight to their places in the assembled symbol. The product mark walks the
// mapping matrix, so with it on the bits go to the mapping matrix, which the assembly then spreads
// over the regions; both ways leave the same matrix.
bool PlacesIntoSymbol(const Symbol& symbol) {
    return symbol.productMarkOn == 0;
}

// 11. Every codeword bit, most significant first, to its module, through the offsets stored with
// the map: of the mapping matrix, or of the assembled symbol.
bool PlaceCodewordBits(Symbol& symbol, const PlacementEntry* map) {
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    const int32_t codewords = size.regionCount * size.regionRows * size.regionCols / 8;
    const auto rows = static_cast<uint32_t>(symbol.mappingRows);
    const auto cols = static_cast<uint32_t>(symbol.mappingCols);
    if (codewords > symbol.codewordCount) return Fail(symbol, kStatusInternal);
    if (!MapFitsMatrix(map, 8 * codewords, rows, cols)) return Fail(symbol, kStatusInternal);
    uint8_t* const modules = &symbol.matrix[0][0];
    const uint16_t* offset = PlacesIntoSymbol(symbol) ? SymbolOffsets(map, symbol.sizeIndex)
                                                      : MatrixOffsets(map, symbol.sizeIndex);
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
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    if (ModulesLeftOver(size) == 0) return;
    const int32_t lastCol = symbol.mappingCols - 1;
    const bool intoSymbol = PlacesIntoSymbol(symbol);
    const auto at = [&](int32_t row, int32_t col) -> uint8_t& {
        return intoSymbol ? (&symbol.matrix[0][0])[SymbolOffset(size, row, col)]
                          : symbol.matrix[row][col];
    };
    at(0, lastCol) = 1;
    at(0, lastCol - 1) = 0;
    at(1, lastCol) = 0;
    at(1, lastCol - 1) = 1;
}

// 13. The product mark on the mapping matrix, with the identity loaded at step 7. It refuses only
// what the switch and the load have ruled out.
bool ApplyProductMarkIfOn(Symbol& symbol) {
    if (symbol.productMarkOn == 0) return true;
    if (ApplyProductMark(*symbol.markState, symbol.matrix, symbol.productId, symbol.mappingRows,
                         symbol.mappingCols)) {
        return true;
    }
    return Fail(symbol, kStatusInternal);
}

// 14. Finder and timing patterns around the data regions.
bool Assemble(Symbol& symbol) {
    const bool assembled =
        PlacesIntoSymbol(symbol) ? AssemblePlacedSymbol(symbol) : AssembleSymbol(symbol);
    if (!assembled) return Fail(symbol, kStatusInternal);
    symbol.status = kStatusOk;
    symbol.encoded = 1;
    return true;
}

// The steps in order; false at the first that fails.
bool RunSteps(Symbol& symbol) {
    StartFromRequest(symbol);
    if (!EncodeAndResolveSize(symbol)) return false;
    if (!CompleteCodewordStream(symbol)) return false;
    if (!LoadIdentityIfMarked(symbol)) return false;
    if (!ApplyUserMarkIfOn(symbol)) return false;
    if (!CheckCodewordCount(symbol)) return false;
    const PlacementEntry* map = CachedPlacementMap(symbol);
    if (map == nullptr) return false;
    SetMappingDimensions(symbol);
    if (!PlaceCodewordBits(symbol, map)) return false;
    FillUncoveredCorner(symbol);
    if (!ApplyProductMarkIfOn(symbol)) return false;
    return Assemble(symbol);
}

// Widens the written extent by what a successful encode of the current size touched: its
// codeword stream (the encoders never write past the stream they end with by more than a
// dropped latch, which the error correction overwrites) and the rows of its symbol.
void RecordWrittenExtent(Symbol& symbol, WrittenExtent before) {
    const SymbolSize& size = SizeAt(symbol.sizeIndex);
    symbol.written = {
        .matrixRows = std::max(before.matrixRows, static_cast<uint16_t>(size.symbolRows)),
        .matrixCols = std::max(before.matrixCols, static_cast<uint16_t>(size.symbolCols)),
        .codewords = std::max(before.codewords, static_cast<uint16_t>(TotalCodewords(size)))};
}

}  // namespace

bool EncodeSymbol(Symbol& symbol) {
    // Until the encode has succeeded, the reset has to assume that it wrote anywhere.
    const WrittenExtent before = symbol.written;
    symbol.written = {
        .matrixRows = kMatrixSide, .matrixCols = kMatrixSide, .codewords = kCodewordCapacity};
    if (!RunSteps(symbol)) return false;
    RecordWrittenExtent(symbol, before);
    return true;
}

}  // namespace ecc200
