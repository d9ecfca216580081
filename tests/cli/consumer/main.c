/* Encodes a short text through the installed library and checks the finished symbol's frame. */
#include <ecc200.h>
#include <stdio.h>
#include <string.h>

int main(void) {
    static const char text[] = "installed ecc200";
    uint8_t modules[ECC200_MAX_MODULES];
    int32_t status;
    int32_t size;
    int col;
    SymbolHandle symbol = CreateSymbol_ECC200();
    if (symbol == NULL) return 1;
    SetDimension_ECC200(symbol, ECC200_SIZE_18X18);
    SetDataToEncoding_ECC200(symbol, (const uint8_t*)text, (int32_t)strlen(text));
    status = WriteEncodedSymbolToBuf_ECC200(symbol, modules, (int32_t)sizeof modules);
    size = GetDimension_ECC200(symbol);
    DeleteSymbol_ECC200(symbol);
    if (status != ECC200_OK || size != ECC200_SIZE_18X18) {
        printf("encode failed: status %d, size %d\n", (int)status, (int)size);
        return 1;
    }
    /* The bottom row of the finder pattern is solid dark. */
    for (col = 0; col < 18; ++col) {
        if (modules[17 * 18 + col] != 1) {
            printf("finder pattern missing\n");
            return 1;
        }
    }
    printf("ecc200 %s: 18x18 symbol encoded\n", Version_ECC200());
    return 0;
}
