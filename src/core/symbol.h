// The record behind every SymbolHandle: one fixed-size allocation holding the data, the
// settings, the codeword stream, the module matrix and all working state of an encode.
#pragma once

#include <cstdint>

#include "ecc200.h"

namespace ecc200 {

inline constexpr int32_t kMaxDataLength = ECC200_MAX_DATA_LENGTH;
inline constexpr int32_t kCodewordCapacity = 2179;
inline constexpr int32_t kMatrixSide = ECC200_MAX_SIDE;
inline constexpr int32_t kProductIdCapacity = 1000;  // 999 characters and the terminating zero
inline constexpr int32_t kMaxProductIdLength = ECC200_MAX_PRODUCT_ID;  // what a mark's key holds
inline constexpr int32_t kMessageCapacity = 100;
inline constexpr int32_t kSizeCount = ECC200_SIZE_COUNT;  // the rows of geometry/size_table.h
inline constexpr int32_t kSchemeCount = 7;
inline constexpr uint32_t kSymbolTag = 0x424D5953u;  // "SYMB" in memory order (little-endian)

struct PlacementEntry;  // geometry/placement_entry.h
struct MarkState;       // marks/mark_state.h

// How far the encodes since the last reset may have written: matrix rows from the bottom and
// columns from the left of them, and codewords from the start. The reset zeroes no more than that.
struct WrittenExtent {
    uint16_t matrixRows;
    uint16_t matrixCols;
    uint16_t codewords;
};

// The settings behind SetOption_ECC200; all zero means the default of each.
struct SymbolOptions {
    int32_t encodation;         // ECC200_ENCODATION_*
    int32_t gs1;                // ECC200_GS1_*
    int32_t eci;                // 0 for none, else the ECI designator
    int32_t shape;              // ECC200_SHAPE_*
    int32_t appendPosition;     // structured append: 0 for none, else 1..16
    int32_t appendCount;        // structured append: 0 for none, else 2..16
    int32_t appendFileId;       // structured append: 0 for none, else byte1 * 256 + byte2
    int32_t readerProgramming;  // 0 or 1
};

inline constexpr int32_t kMaxEci = ECC200_MAX_ECI;

struct Symbol {
    uint8_t matrix[kMatrixSide][kMatrixSide];  // [row from the bottom][column], 1 = dark
    uint8_t encoded;
    uint8_t userMarkOn;
    uint8_t productMarkOn;
    char productId[kProductIdCapacity];
    int32_t productIdLength;
    PlacementEntry* placementMaps[kSizeCount];
    PlacementEntry* mapInProgress;
    int16_t placementGrid[kMatrixSide][kMatrixSide];
    int32_t placeCodeword;
    int32_t placeBit;
    int32_t mappingRows;
    int32_t mappingCols;
    float lookaheadCounts[kSchemeCount];
    int32_t status;
    char message[kMessageCapacity];
    int32_t scheme;
    int32_t requestedScheme;
    int32_t sizeIndex;
    int32_t requestedSize;
    uint8_t rows;
    uint8_t cols;
    uint8_t data[kMaxDataLength + 1];
    int32_t dataLength;
    uint8_t codewords[kCodewordCapacity];
    int32_t codewordCount;
    MarkState* markState;
    uint32_t tag;
    WrittenExtent written;  // bookkeeping for the reset, see WrittenExtent
    SymbolOptions options;
};

static_assert(sizeof(Symbol::matrix) == 144 * 144);
static_assert(sizeof(Symbol::data) == 3117);
static_assert(sizeof(Symbol::codewords) == 2179);
static_assert(sizeof(Symbol::productId) == 1000);
static_assert(sizeof(Symbol::message) == 100);
static_assert(sizeof(Symbol::placementGrid) == 144 * 144 * 2);
static_assert(sizeof(Symbol::lookaheadCounts) == 7 * 4);

}  // namespace ecc200
