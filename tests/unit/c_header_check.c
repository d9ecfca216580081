/* Proves that the public header compiles as C99 and that its declarations link from C. */
#include "ecc200.h"

#include <stddef.h>

int ecc200_c_header_round_trip(void);

int ecc200_c_header_round_trip(void) {
    SymbolHandle symbol = CreateSymbol_ECC200();
    const uint8_t data[] = {'C', '9', '9'};
    int32_t result;
    if (symbol == NULL) return -1;
    result = SetScheme_ECC200(symbol, ECC200_SCHEME_C40);
    result |= SetDimension_ECC200(symbol, ECC200_SIZE_AUTO);
    result |= SetDataToEncoding_ECC200(symbol, data, (int32_t)sizeof data);
    DeleteSymbol_ECC200(symbol);
    return (int)result;
}
