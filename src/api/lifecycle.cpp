// The exports that create, configure, query, reset and destroy a symbol.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "api/byte_copy.h"
#include "api/checked_symbol.h"
#include "core/bounded_length.h"
#include "core/status.h"
#include "core/symbol.h"
#include "ecc200.h"
#include "geometry/size_table.h"
#include "marks/mark_state.h"
#include "marks/user_identity.h"

namespace ecc200 {
namespace {

constexpr const char kVersion[] = "21.10";

template <std::size_t N>
void SetMessage(Symbol& symbol, const char (&text)[N]) {
    static_assert(N <= sizeof(Symbol::message));
    std::memcpy(symbol.message, text, N);
}

int32_t Fail(Symbol& symbol, StatusCode code) {
    symbol.status = code;
    return code;
}

int32_t FailWithMessage(Symbol& symbol, StatusCode code, const char* format, int value) {
    std::snprintf(symbol.message, sizeof symbol.message, format, value);
    return Fail(symbol, code);
}

template <std::size_t N>
int32_t FailWithMessage(Symbol& symbol, StatusCode code, const char (&text)[N]) {
    SetMessage(symbol, text);
    return Fail(symbol, code);
}

// Zeroes the lower-left rows x cols of the matrix: whole rows at once when they span the matrix,
// otherwise the first columns of each row in whole 16-byte chunks (plain vector stores; a row
// holds 144 bytes, so a chunk past cols stays inside its row).
void ZeroMatrixCorner(Symbol& symbol, int32_t rows, int32_t cols) {
    constexpr std::size_t kChunk = 16;
    static_assert(kMatrixSide % kChunk == 0);
    if (cols >= kMatrixSide) {
        ZeroBytes(symbol.matrix, static_cast<std::size_t>(rows) * kMatrixSide);
        return;
    }
    const std::size_t chunks = (static_cast<std::size_t>(cols) + kChunk - 1) / kChunk;
    for (int32_t r = 0; r < rows; ++r) {
        for (std::size_t k = 0; k < chunks; ++k)
            std::memset(symbol.matrix[r] + k * kChunk, 0, kChunk);
    }
}

// Forgets the data and every result of an earlier encode. Everything an encode or the data can
// have made non-zero lies within the recorded extent or the extent the symbol's own fields name,
// so zeroing that leaves codewords, data and matrix all zero as a whole.
void EmptyDataAndResult(Symbol& symbol) {
    const int32_t codewords = std::max<int32_t>(symbol.written.codewords, symbol.codewordCount);
    ZeroBytes(symbol.codewords, static_cast<std::size_t>(std::min(codewords, kCodewordCapacity)));
    symbol.codewordCount = 0;
    const int32_t dataLength = std::clamp(symbol.dataLength, 0, kMaxDataLength);
    ZeroBytes(symbol.data, static_cast<std::size_t>(dataLength));
    symbol.dataLength = 0;
    const int32_t rows =
        std::max({int32_t{symbol.written.matrixRows}, int32_t{symbol.rows}, symbol.mappingRows});
    const int32_t cols =
        std::max({int32_t{symbol.written.matrixCols}, int32_t{symbol.cols}, symbol.mappingCols});
    ZeroMatrixCorner(symbol, std::min(rows, kMatrixSide), std::min(cols, kMatrixSide));
    symbol.written = {};
    symbol.encoded = 0;
    symbol.mappingRows = 0;
    symbol.mappingCols = 0;
    symbol.rows = 0;
    symbol.cols = 0;
}

// Loads a fresh identity for a mark switch; one that cannot be loaded or never fits a mark's key
// leaves the mark off.
int32_t LoadIdentityForSwitch(Symbol& symbol) {
    const StatusCode loaded = LoadMarkIdentity(symbol.markState);
    return loaded == kStatusOk ? kStatusOk : Fail(symbol, loaded);
}

constexpr int32_t kMaxAppendCount = 16;

// A byte of a structured append file identifier: 1..254.
constexpr bool IsFileIdByte(int32_t byte) {
    return byte >= 1 && byte <= 254;
}

// Whether value is one the option accepts.
bool IsOptionValue(int32_t option, int32_t value) {
    switch (option) {
        case ECC200_OPTION_ENCODATION:
            return value == ECC200_ENCODATION_LOOKAHEAD || value == ECC200_ENCODATION_SMALLEST;
        case ECC200_OPTION_GS1:
            return value == ECC200_GS1_OFF || value == ECC200_GS1_CHECKED ||
                   value == ECC200_GS1_FIELDS_ONLY;
        case ECC200_OPTION_ECI:
            return value >= 0 && value <= kMaxEci;
        case ECC200_OPTION_SHAPE:
            return value == ECC200_SHAPE_SQUARE || value == ECC200_SHAPE_ANY ||
                   value == ECC200_SHAPE_DMRE;
        case ECC200_OPTION_SIZE:
            return value == kAutomaticSize || IsSizeIndex(value);
        case ECC200_OPTION_APPEND_POSITION:
            return value >= 0 && value <= kMaxAppendCount;
        case ECC200_OPTION_APPEND_COUNT:
            return value == 0 || (value >= 2 && value <= kMaxAppendCount);
        case ECC200_OPTION_APPEND_FILE_ID:
            return value == 0 || (IsFileIdByte(value / 256) && IsFileIdByte(value % 256));
        case ECC200_OPTION_READER_PROGRAMMING:
            return value == 0 || value == 1;
        default:
            return false;
    }
}

// The size setting behind SetDimension_ECC200 and ECC200_OPTION_SIZE.
void RequestSize(Symbol& symbol, int32_t size) {
    symbol.requestedSize = size;
    symbol.sizeIndex = size;
    symbol.encoded = 0;
}

int32_t& OptionField(SymbolOptions& options, int32_t option) {
    switch (option) {
        case ECC200_OPTION_ENCODATION:
            return options.encodation;
        case ECC200_OPTION_GS1:
            return options.gs1;
        case ECC200_OPTION_ECI:
            return options.eci;
        case ECC200_OPTION_APPEND_POSITION:
            return options.appendPosition;
        case ECC200_OPTION_APPEND_COUNT:
            return options.appendCount;
        case ECC200_OPTION_APPEND_FILE_ID:
            return options.appendFileId;
        case ECC200_OPTION_READER_PROGRAMMING:
            return options.readerProgramming;
        default:
            return options.shape;
    }
}

}  // namespace
}  // namespace ecc200

using namespace ecc200;

extern "C" {

ECC200_API SymbolHandle ECC200_CALL CreateSymbol_ECC200(void) {
    auto* symbol = static_cast<Symbol*>(std::calloc(1, sizeof(Symbol)));
    if (symbol == nullptr) return nullptr;
    symbol->status = kStatusOk;
    symbol->sizeIndex = kAutomaticSize;
    symbol->tag = kSymbolTag;
    return reinterpret_cast<SymbolHandle>(symbol);
}

ECC200_API void ECC200_CALL DeleteSymbol_ECC200(SymbolHandle handle) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return;
    symbol->tag = 0;
    for (auto& map : symbol->placementMaps) {
        std::free(map);
        map = nullptr;
    }
    std::free(symbol->mapInProgress);
    FreeMarkState(symbol->markState);
    std::free(symbol);
}

ECC200_API int32_t ECC200_CALL SetScheme_ECC200(SymbolHandle handle, int32_t scheme) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    if (static_cast<uint32_t>(scheme) >= static_cast<uint32_t>(kSchemeCount)) {
        return FailWithMessage(*symbol, kStatusBadParameter, kMessageBadParameters);
    }
    symbol->requestedScheme = scheme;
    symbol->scheme = scheme;
    symbol->encoded = 0;
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL GetScheme_ECC200(SymbolHandle handle) {
    const Symbol* symbol = CheckedSymbol(handle);
    return symbol == nullptr ? ECC200_SCHEME_AUTO : symbol->scheme;
}

ECC200_API int32_t ECC200_CALL SetDimension_ECC200(SymbolHandle handle, int32_t size) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    if (size != kAutomaticSize && !IsIsoSizeIndex(size)) {
        return FailWithMessage(*symbol, kStatusBadParameter, kMessageBadParameters);
    }
    RequestSize(*symbol, size);
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL GetDimension_ECC200(SymbolHandle handle) {
    const Symbol* symbol = CheckedSymbol(handle);
    return symbol == nullptr ? kAutomaticSize : symbol->sizeIndex;
}

ECC200_API int32_t ECC200_CALL SetDataToEncoding_ECC200(SymbolHandle handle, const uint8_t* data,
                                                        int32_t length) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    symbol->message[0] = '\0';
    EmptyDataAndResult(*symbol);
    if (data == nullptr || length < 1) {
        return FailWithMessage(*symbol, kStatusBadParameter, kMessageBadParameters);
    }
    if (length > kMaxDataLength) {
        return FailWithMessage(*symbol, kStatusDataTooLong, kMessageTooLongText);
    }
    CopyBytes(symbol->data, data, static_cast<std::size_t>(length));
    symbol->data[length] = 0;
    symbol->dataLength = length;
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL SetSignUser_ECC200(SymbolHandle handle, uint8_t enable) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    symbol->userMarkOn = 0;
    if (enable == 0) return kStatusOk;
    const int32_t loaded = LoadIdentityForSwitch(*symbol);
    if (loaded != kStatusOk) return loaded;
    symbol->userMarkOn = 1;
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL SetSignProduct_ECC200(SymbolHandle handle, uint8_t enable,
                                                     const char* productId) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    symbol->productMarkOn = 0;
    symbol->productId[0] = '\0';
    symbol->productIdLength = 0;
    if (enable == 0) return kStatusOk;
    const int32_t loaded = LoadIdentityForSwitch(*symbol);
    if (loaded != kStatusOk) return loaded;
    if (productId == nullptr || productId[0] == '\0') return Fail(*symbol, kStatusBadParameter);
    const int32_t length = BoundedLength(productId, kMaxProductIdLength);
    if (length > kMaxProductIdLength) {
        return FailWithMessage(*symbol, kStatusBadParameter, kMessageTooLongProductId,
                               kMaxProductIdLength);
    }
    std::memcpy(symbol->productId, productId, static_cast<std::size_t>(length) + 1);
    symbol->productIdLength = length;
    symbol->productMarkOn = 1;
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL SetOption_ECC200(SymbolHandle handle, int32_t option,
                                                int32_t value) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    if (!IsOptionValue(option, value)) {
        return FailWithMessage(*symbol, kStatusBadParameter, kMessageBadParameters);
    }
    if (option == ECC200_OPTION_SIZE) {
        RequestSize(*symbol, value);
        return kStatusOk;
    }
    OptionField(symbol->options, option) = value;
    symbol->encoded = 0;
    return kStatusOk;
}

ECC200_API void ECC200_CALL Clear_ECC200(SymbolHandle handle) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return;
    symbol->userMarkOn = 0;
    symbol->productMarkOn = 0;
    symbol->status = kStatusOk;
    symbol->message[0] = '\0';
    EmptyDataAndResult(*symbol);
    symbol->scheme = ECC200_SCHEME_AUTO;
    symbol->sizeIndex = kAutomaticSize;
    symbol->options = {};
}

ECC200_API const char* ECC200_CALL Version_ECC200(void) {
    return kVersion;
}

}  // extern "C"
