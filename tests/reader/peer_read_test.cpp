// Symbols written by the peer encoders (zint, libdmtx and zxing-cpp's writer, through their public
// APIs) in every size they make, with their options (GS1, ECI, reader programming, structured
// append, macro headers, every libdmtx scheme): our reading of the module matrix equals zxing-cpp's
// reading of the same matrix, bytes and symbology identifier (but for the ECI modifier, see
// ReadsLikeZxing).
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <dmtx.h>
#include <gtest/gtest.h>
#include <zint.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ecc200.h"
#include "geometry/size_table.h"
#include "reader/reader_support.h"

namespace ecc200 {
namespace {

// A module matrix with its size, top row first, 1 dark.
struct PeerSymbol {
    int32_t sizeIndex = -1;
    std::vector<uint8_t> modules;
};

int32_t SizeOf(int rows, int cols) {
    for (int32_t index = 0; IsSizeIndex(index); ++index) {
        if (SizeAt(index).symbolRows == rows && SizeAt(index).symbolCols == cols) return index;
    }
    return -1;
}

struct ZintOptions {
    int inputMode = DATA_MODE;
    int eci = 0;
    int outputOptions = 0;
    int appendIndex = 0;
    int appendCount = 0;
};

// zint's symbol of the size whose table row is sizeIndex (zint numbers the same 30 sizes from 1).
PeerSymbol ZintSymbol(const std::string& data, int32_t sizeIndex, const ZintOptions& options) {
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->option_2 = sizeIndex + 1;
    symbol->input_mode = options.inputMode;
    symbol->eci = options.eci;
    symbol->output_options = options.outputOptions;
    if (options.appendCount > 0) {
        symbol->structapp.index = options.appendIndex;
        symbol->structapp.count = options.appendCount;
        std::strcpy(symbol->structapp.id, "42");
    }
    PeerSymbol result;
    const int status =
        ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size()));
    if (status >= ZINT_ERROR) return result;
    result.sizeIndex = SizeOf(symbol->rows, symbol->width);
    if (result.sizeIndex < 0) return result;
    for (int r = 0; r < symbol->rows; ++r) {
        for (int c = 0; c < symbol->width; ++c) {
            result.modules.push_back(
                static_cast<uint8_t>((symbol->encoded_data[r][c >> 3] >> (c & 7)) & 1));
        }
    }
    return result;
}

// libdmtx's symbol of a size (its size numbers are our table's rows) in one of its schemes.
PeerSymbol DmtxSymbol(const std::string& data, int32_t sizeIndex, int scheme) {
    std::unique_ptr<DmtxEncode, void (*)(DmtxEncode*)> encode(
        dmtxEncodeCreate(), [](DmtxEncode* e) { dmtxEncodeDestroy(&e); });
    dmtxEncodeSetProp(encode.get(), DmtxPropScheme, scheme);
    dmtxEncodeSetProp(encode.get(), DmtxPropSizeRequest, sizeIndex);
    std::string copy = data;
    PeerSymbol result;
    if (dmtxEncodeDataMatrix(encode.get(), static_cast<int>(copy.size()),
                             reinterpret_cast<unsigned char*>(copy.data())) != DmtxPass) {
        return result;
    }
    const int used = encode->region.sizeIdx;
    if (!IsSizeIndex(used)) return result;
    result.sizeIndex = used;
    const int rows = SizeAt(used).symbolRows, cols = SizeAt(used).symbolCols;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            // libdmtx counts symbol rows from the bottom.
            const int status = dmtxSymbolModuleStatus(encode->message, used, rows - 1 - r, c);
            result.modules.push_back((status & DmtxModuleOnRGB) != 0 ? 1 : 0);
        }
    }
    return result;
}

// zxing-cpp's writer's symbol of the text (it chooses the size), one pixel a module, no margin.
PeerSymbol ZxingSymbol(const std::string& text) {
    const ZXing::BitMatrix matrix =
        ZXing::MultiFormatWriter(ZXing::BarcodeFormat::DataMatrix).setMargin(0).encode(text, 0, 0);
    PeerSymbol result;
    result.sizeIndex = SizeOf(matrix.height(), matrix.width());
    if (result.sizeIndex < 0) return result;
    for (int y = 0; y < matrix.height(); ++y) {
        for (int x = 0; x < matrix.width(); ++x) result.modules.push_back(matrix.get(x, y) ? 1 : 0);
    }
    return result;
}

// Our reading equals zxing-cpp's; false when zxing-cpp does not read the matrix at all.
bool ReadsLikeZxing(const PeerSymbol& symbol) {
    const ZXing::Result theirs = testing::ReadModules(
        symbol.modules, SizeAt(symbol.sizeIndex).symbolRows, SizeAt(symbol.sizeIndex).symbolCols);
    if (!theirs.isValid()) return false;
    ECC200_Reading ours;
    const int32_t status =
        ReadMatrix_ECC200(symbol.modules.data(), SizeAt(symbol.sizeIndex).symbolRows,
                          SizeAt(symbol.sizeIndex).symbolCols, nullptr, "no-identity", &ours);
    EXPECT_EQ(status, ECC200_OK);
    EXPECT_EQ(std::vector<uint8_t>(ours.data, ours.data + ours.dataLength),
              testing::BytesOf(theirs));
    // zxing-cpp 1.4 leaves out the ECI modifiers (4 to 6, three above the modifier without
    // ECI) that the symbology identifier gives data carrying ECI designators; ours has them.
    // It also adds 6 to the modifier of the DMRE sizes; ours gives every size the ISO/IEC 16022
    // modifiers.
    std::string expected = theirs.symbologyIdentifier();
    if (ours.eci >= 0 && expected.size() == 3) expected[2] = static_cast<char>(expected[2] + 3);
    if (symbol.sizeIndex >= ECC200_SIZE_8X48 && expected.size() == 3 && expected[2] > '6') {
        expected[2] = static_cast<char>(expected[2] - 6);
    }
    EXPECT_EQ(std::string(ours.symbologyId), expected);
    return true;
}

// Data that fills about half a size: digits, upper-case runs, lower case, punctuation and bytes
// above 127, so the peers switch forms.
std::string MixedData(int32_t sizeIndex, uint32_t seed) {
    const std::string pieces[] = {"0123456789", "ABCDEFGHIJ",   "abcdefghij",   "A*B>C\r",
                                  "<=>?@[",     "\xC4\xE9\x80", "Hello World! "};
    std::string data;
    const auto target = static_cast<std::size_t>(SizeAt(sizeIndex).totalDataCodewords) / 2 + 1;
    for (uint32_t k = seed; data.size() < target; k = k * 7 + 3) data += pieces[k % 7];
    data.resize(target);
    return data;
}

TEST(PeerSymbols, ZintEverySizeAndOption) {
    int32_t read = 0;
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        const std::pair<std::string, ZintOptions> cases[] = {
            {MixedData(sizeIndex, 1), {}},
            {"[01]09501101530003[17]250101[10]AB12", {.inputMode = GS1_MODE}},
            {"K\xC3\xB6ln", {.inputMode = UNICODE_MODE, .eci = 26}},
            {"K\xF6ln 123", {.eci = 3}},
            {"PROGRAM", {.outputOptions = READER_INIT}},
            {"PART2", {.appendIndex = 2, .appendCount = 3}},
            {"[)>\x1E"
             "05\x1D"
             "DATA\x1E\x04",
             {}},
            {"[)>\x1E"
             "06\x1D"
             "1234\x1E\x04",
             {}},
        };
        for (const auto& [data, options] : cases) {
            SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " " + data);
            const PeerSymbol symbol = ZintSymbol(data, sizeIndex, options);
            if (symbol.sizeIndex < 0) continue;  // does not fit this size
            if (ReadsLikeZxing(symbol)) ++read;
        }
    }
    EXPECT_GT(read, 150);
}

TEST(PeerSymbols, DmtxEverySizeAndScheme) {
    const int schemes[] = {DmtxSchemeAutoBest, DmtxSchemeAscii,   DmtxSchemeC40,    DmtxSchemeText,
                           DmtxSchemeX12,      DmtxSchemeEdifact, DmtxSchemeBase256};
    const std::string perScheme[] = {
        "", "", "C40 DATA 12345", "text data 12345", "X12*DATA>1\r", "EDIFACT:DATA?<=>", ""};
    int32_t read = 0;
    for (int32_t sizeIndex = 0; IsSizeIndex(sizeIndex); ++sizeIndex) {
        for (std::size_t s = 0; s < std::size(schemes); ++s) {
            std::string data = perScheme[s].empty() ? MixedData(sizeIndex, static_cast<uint32_t>(s))
                                                    : perScheme[s];
            SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " scheme " +
                         std::to_string(schemes[s]));
            const PeerSymbol symbol = DmtxSymbol(data, sizeIndex, schemes[s]);
            if (symbol.sizeIndex < 0) continue;
            if (ReadsLikeZxing(symbol)) ++read;
        }
    }
    EXPECT_GT(read, 100);
}

TEST(PeerSymbols, ZxingWriterEverySquareSize) {
    int32_t read = 0;
    for (int32_t sizeIndex = 0; sizeIndex < kSquareSizeCount; ++sizeIndex) {
        for (const uint32_t seed : {1u, 2u}) {
            // Printable text only: the writer takes a text.
            std::string data = MixedData(sizeIndex, seed);
            for (char& c : data) c = static_cast<unsigned char>(c) >= 128 ? '#' : c;
            SCOPED_TRACE(std::string(SizeName(sizeIndex)) + " " + std::to_string(seed));
            const PeerSymbol symbol = ZxingSymbol(data);
            if (symbol.sizeIndex < 0) continue;
            if (ReadsLikeZxing(symbol)) ++read;
        }
    }
    EXPECT_GT(read, 30);
}

}  // namespace
}  // namespace ecc200
