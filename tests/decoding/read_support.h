// Helpers for the reading tests: an encode through the exports with options and marks, a read of
// its module buffer through ReadMatrix_ECC200, and damage to one codeword of the buffer.
#pragma once

#include "geometry/assembly.h"
#include "geometry/placement_map.h"
#include "support/test_support.h"

namespace ecc200::testing {

inline constexpr char kProductId[] = "PRODUCT-0042/B";
inline constexpr char kOtherIdentity[] = "OTHER**FFEEDDCCBBAA99887766-00112233445566778899AA";

// A scratch directory holding user.id (the sample identity) and other.id (another one).
struct IdentityDirectory : ScratchDirectory {
    IdentityDirectory() {
        WriteIdentity(kSampleIdentity);
        std::ofstream("other.id") << kOtherIdentity;
    }
};

// The settings of one encode; marks read user.id from the current directory.
struct EncodeSettings {
    int32_t scheme = ECC200_SCHEME_AUTO;
    int32_t size = ECC200_SIZE_AUTO;
    int32_t encodation = ECC200_ENCODATION_LOOKAHEAD;
    int32_t gs1 = 0;
    int32_t eci = 0;
    bool userMark = false;
    const char* productId = nullptr;
};

// One encode: its status, the size it leaves and its module buffer.
struct Encoded {
    int32_t status = -1;
    int32_t size = -1;
    std::vector<uint8_t> modules;
};

inline Encoded Encode(const EncodeSettings& s, const std::vector<uint8_t>& data) {
    const SymbolPtr handle =
        SymbolWith(s.scheme, s.size, {reinterpret_cast<const char*>(data.data()), data.size()});
    SymbolHandle h = handle.get();
    EXPECT_EQ(SetOption_ECC200(h, ECC200_OPTION_ENCODATION, s.encodation) +
                  SetOption_ECC200(h, ECC200_OPTION_GS1, s.gs1) +
                  SetOption_ECC200(h, ECC200_OPTION_ECI, s.eci) +
                  SetSignUser_ECC200(h, s.userMark) +
                  SetSignProduct_ECC200(h, s.productId != nullptr, s.productId),
              0);
    Encoded e;
    e.modules = EncodeToModules(h, e.status);
    e.size = GetDimension_ECC200(h);
    return e;
}

// A reading and the status of the read that filled it.
struct ReadResult : ECC200_Reading {
    int32_t status = -1;

    std::vector<uint8_t> Data() const { return {data, data + dataLength}; }
    std::vector<int32_t> Errors() const { return {errors, errors + blockCount}; }
};

inline ReadResult ReadModules(const std::vector<uint8_t>& modules, int32_t sizeIndex,
                              const char* productId = nullptr, const char* identityFile = nullptr) {
    const SymbolSize& size = SizeAt(sizeIndex);
    ReadResult r{};
    r.status = ReadMatrix_ECC200(modules.data(), size.symbolRows, size.symbolCols, productId,
                                 identityFile, &r);
    return r;
}

// Flips the modules (top row first) of the codeword at stream position `codeword` where `error`
// has a one bit, found through the library's placement map and assembly rules.
inline void DamageCodeword(std::vector<uint8_t>& modules, int32_t sizeIndex, int32_t codeword,
                           uint8_t error) {
    static const SymbolPtr maps = MakeSymbol();  // the cache of built maps, one per size
    ASSERT_NE(BuildPlacementMap(Internals(maps), sizeIndex), 0);
    const SymbolSize& size = SizeAt(sizeIndex);
    for (int32_t bit = 0; bit < 8; ++bit) {
        if ((error & (0x80u >> bit)) == 0) continue;
        const PlacementEntry entry = Internals(maps).placementMaps[sizeIndex][8 * codeword + bit];
        const int32_t fromBottom = SymbolRowOfMappingRow(size, MappingRows(size) - 1 - entry.row);
        const int32_t col = SymbolColOfMappingCol(size, entry.col);
        uint8_t& module = modules[static_cast<std::size_t>(
            (size.symbolRows - 1 - fromBottom) * size.symbolCols + col)];
        module = module != 0 ? 0 : 1;
    }
}

}  // namespace ecc200::testing
