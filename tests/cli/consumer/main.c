// Encodes a short text through the installed library and checks the finished symbol's frame.
#include <ecc200.h>
#include <stdio.h>
#include <string.h>

int main(void) {
    static const char text[] = "installed ecc200";
    uint8_t modules[ECC200_MAX_MODULES];
    int col, ok;
    SymbolHandle symbol = CreateSymbol_ECC200();
    SetDimension_ECC200(symbol, ECC200_SIZE_18X18);
    SetDataToEncoding_ECC200(symbol, (const uint8_t*)text, (int32_t)strlen(text));
    ok = WriteEncodedSymbolToBuf_ECC200(symbol, modules, (int32_t)sizeof modules) == ECC200_OK;
    DeleteSymbol_ECC200(symbol);
    // The bottom row of the finder pattern is solid dark.
    for (col = 0; col < 18; ++col) ok = ok && modules[17 * 18 + col] == 1;
    printf("ecc200 %s: %s\n", Version_ECC200(), ok ? "18x18 symbol encoded" : "encoding failed");
    return ok ? 0 : 1;
}
