#pragma once
// The message of a field whose controller value differs from the table: as the differences tool
// reports it, or as the adjustment's verification does.
#include <cstddef>

#include "tools/parameter_field.h"

namespace tavir {

// Room for the longest message: its text, two 20-character names and three numbers.
constexpr size_t kMessageCapacity = 256;

enum class MessageStyle { kDifference, kVerification };

// The message holds one "\n" of its own, between the field and the values. Gives the length.
int formatFieldMessage(char* out, size_t size, const ParameterField& field, MessageStyle style);

}  // namespace tavir
