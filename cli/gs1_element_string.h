// GS1 data written in bracketed form, such as "(01)09501101530003(17)250101(10)ABC123", turned
// into the element string a GS1 Data Matrix carries: AIs and values run together, every element
// that is not the last and whose length its AI does not predefine ended by the GS byte 0x1D
// (which the library writes as FNC1).
#pragma once

#include <string>
#include <string_view>

namespace ecc200_cli {

inline constexpr char kGroupSeparator = '\x1d';

struct Gs1Conversion {
    std::string elementString;  // empty when the input is refused
    std::string error;          // one line naming the bad field; empty when converted
};

// Checks every AI against the table of AIs (known, length and character set of its value, dates,
// check digits) and converts. Inside a value, "\(" stands for a '(' that does not start an AI.
// One line end at the very end of the text is ignored.
Gs1Conversion ConvertGs1Bracketed(std::string_view text);

// The bracketed form of an element string as a GS1 symbol carries it (AIs and values run
// together, GS bytes ending the elements whose length no prefix fixes), for people to read:
// "(01)09501101530003(17)250101". Empty when the string is no GS1 data this table knows.
std::string Gs1HumanReadable(std::string_view elementString);

}  // namespace ecc200_cli
