// The output exports: every call encodes the current data afresh and then hands the symbol over
// as a module buffer or as a BMP file; and the library's way of replacing a file, for callers
// that write their own formats.
#include <cstddef>

#include "api/bmp_writer.h"
#include "api/byte_copy.h"
#include "api/checked_symbol.h"
#include "api/encode_pipeline.h"
#include "api/file_replace.h"
#include "core/status.h"
#include "core/symbol.h"
#include "ecc200.h"

namespace ecc200 {
namespace {

// rows x cols bytes, the top row of the symbol first (the matrix keeps the bottom row first).
void CopyModulesTopRowFirst(const Symbol& symbol, uint8_t* buffer) {
    const auto cols = static_cast<std::size_t>(symbol.cols);
    for (int32_t r = 0; r < symbol.rows; ++r) {
        CopyBytes(buffer + static_cast<std::size_t>(r) * cols, symbol.matrix[symbol.rows - 1 - r],
                  cols);
    }
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
