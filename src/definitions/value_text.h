#pragma once
// Number conversions of the table source and the header's section pass. They accept the same
// texts on every platform: plain decimal numbers only (the hexadecimal, "inf" and "nan" forms
// that some C libraries take are read as 0), and no overflow is undefined.
#include <cstdint>

namespace tavir {

// The standard text-to-double conversion of a decimal number: leading white space, optional
// sign, digits with an optional point and exponent. 0.0 when the text starts with none of these.
double textToDouble(const char* text);

// The same, read as a single-precision number.
float textToFloat(const char* text);

// Leading white space, optional sign and leading digits; 0 when there are none. A number beyond
// the 32-bit range gives the nearest end of the range.
int32_t textToInteger(const char* text);

// The "%d" of a scanf: as textToInteger, but gives false when no digit follows the sign.
bool scanInteger(const char* text, int32_t* value);

}  // namespace tavir
