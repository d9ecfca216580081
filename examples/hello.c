/* Encodes "Hello, world" with automatic scheme and size and writes it as a BMP file. */
#include <stdio.h>
#include <string.h>

#include "ecc200.h"

int main(int argc, char** argv) {
    const char* fileName = argc > 1 ? argv[1] : "hello.bmp";
    const char* text = "Hello, world";
    int32_t status;

    SymbolHandle symbol = CreateSymbol_ECC200();
    if (symbol == NULL) {
        fprintf(stderr, "out of memory\n");
        return 1;
    }
    SetScheme_ECC200(symbol, ECC200_SCHEME_AUTO);
    SetDimension_ECC200(symbol, ECC200_SIZE_AUTO);
    status = SetDataToEncoding_ECC200(symbol, (const uint8_t*)text, (int32_t)strlen(text));
    if (status == ECC200_OK) {
        /* 4 pixels per module, a white margin of 4 modules. */
        status = WriteEncodedSymbolToBMP_ECC200(symbol, 4, 16, fileName);
    }
    if (status == ECC200_OK) {
        printf("wrote %s (size index %d)\n", fileName, (int)GetDimension_ECC200(symbol));
    } else {
        fprintf(stderr, "encoding failed with status %d\n", (int)status);
    }
    DeleteSymbol_ECC200(symbol);
    return status == ECC200_OK ? 0 : 1;
}
