// The output exports: every call encodes the current data afresh and then hands the symbol over
// as a module buffer or as a BMP file; and the library's way of replacing a file, for callers
// that write their own formats.
#include <cstddef>
#include <cstring>

#include "api/bmp_writer.h"
#include "api/byte_copy.h"
#include "api/checked_symbol.h"
#include "api/encode_pipeline.h"
#include "api/file_replace.h"
#include "core/status.h"
#include "core/symbol.h"
#include "ecc200.h"
#include "geometry/size_table.h"

namespace ecc200 {
namespace {

constexpr std::size_t kChunk = 16;

// Whether the chunks of a row reach no further than the end of the next row, at every size.
constexpr bool ChunksStayInTheNextRow() {
    for (const SymbolSize& size : SymbolSizeTable) {
        const auto cols = static_cast<std::size_t>(size.symbolCols);
        if ((cols + kChunk - 1) / kChunk * kChunk > 2 * cols) return false;
    }
    return true;
}

// rows x cols bytes, the top row of the symbol first (the matrix keeps the bottom row first).
// Every row but the last is copied in whole 16-byte chunks, which the compiler turns into plain
// vector moves: the matrix row holds 144 bytes, and what a chunk writes past the row's end in the
// buffer is the next row's place, written after it. The last row is copied exactly, so nothing
// past rows x cols is touched.
void CopyModulesTopRowFirst(const Symbol& symbol, uint8_t* buffer) {
    static_assert(kMatrixSide % kChunk == 0 && ChunksStayInTheNextRow());
    const auto cols = static_cast<std::size_t>(symbol.cols);
    const std::size_t chunks = (cols + kChunk - 1) / kChunk;
    const int32_t last = symbol.rows - 1;
    for (int32_t r = 0; r < last; ++r) {
        uint8_t* to = buffer + static_cast<std::size_t>(r) * cols;
        const uint8_t* from = symbol.matrix[last - r];
        for (std::size_t k = 0; k < chunks; ++k)
            std::memcpy(to + k * kChunk, from + k * kChunk, kChunk);
    }
    if (last >= 0)
        CopyBytes(buffer + static_cast<std::size_t>(last) * cols, symbol.matrix[0], cols);
}

}  // namespace
}  // namespace ecc200

using namespace ecc200;

extern "C" {

ECC200_API int32_t ECC200_CALL WriteEncodedSymbolToBuf_ECC200(SymbolHandle handle, uint8_t* buffer,
                                                              int32_t bufferSize) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    if (!EncodeSymbol(*symbol)) return symbol->status;
    // Neither failure below is stored: status keeps the 0 of the encode.
    if (buffer == nullptr || symbol->rows * symbol->cols > bufferSize) return kStatusBadParameter;
    CopyModulesTopRowFirst(*symbol, buffer);
    return kStatusOk;
}

ECC200_API int32_t ECC200_CALL WriteEncodedSymbolToBMP_ECC200(SymbolHandle handle,
                                                              int32_t moduleSize, int32_t quietZone,
                                                              const char* fileName) {
    Symbol* symbol = CheckedSymbol(handle);
    if (symbol == nullptr) return kStatusBadParameter;
    if (!EncodeSymbol(*symbol)) return symbol->status;
    // A module size below 1 or a picture too large for the file format is not stored either.
    BitmapGeometry geometry{};
    if (!ComputeBitmapGeometry(symbol->rows, symbol->cols, moduleSize, quietZone, geometry)) {
        return kStatusBadParameter;
    }
    symbol->status = RenderBitmap(*symbol, moduleSize, quietZone, fileName);
    return symbol->status;
}

ECC200_API int32_t ECC200_CALL WriteFileReplacing_ECC200(const char* fileName,
                                                         ECC200_FileFiller fill, void* context) {
    if (fileName == nullptr || fill == nullptr) return kStatusBadParameter;
    struct Caller {
        ECC200_FileFiller fill;
        void* context;
    } caller{fill, context};
    const auto byName = [](const char* path, void* callerContext) {
        const auto* c = static_cast<const Caller*>(callerContext);
        return c->fill(path, c->context) != 0;
    };
    return FillFileReplacing(fileName, byName, &caller) ? kStatusOk : kStatusInternal;
}

}  // extern "C"
