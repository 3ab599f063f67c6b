#pragma once
// The lines of the actions files: a header per kind, then one row per value written.
#include <cstddef>
#include <cstdint>

#include "tools/parameter_field.h"

namespace tavir {

// Room for the longest row: a 23-character name padded to 20 and two 6-digit numbers.
constexpr size_t kRowCapacity = 128;

const char* kindHeaderLine(ParameterKind kind);

// The row of one write of value to field; "\n" at its end. Gives the length.
int formatKindRow(char* out, size_t size, const ParameterField& field, int32_t value);

}  // namespace tavir
