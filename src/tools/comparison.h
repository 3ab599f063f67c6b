#pragma once
// The integer a table value becomes on the link, and when the controller's value differs.
#include <cstdint>

#include "tools/parameter_field.h"

namespace tavir {

// The table value times the kind's scale, computed in double precision and truncated toward
// zero: 2.35 s is written as 23, and the clock time 4.35 (434.99999999999994) as 434. Products
// beyond the 32-bit range give the nearest end of the range.
int32_t scaledTableValue(const ParameterField& field);

// A received field differs when the table value times the scale lies more than 0.1 from the
// controller's value (switches and EGGPARMs: when the two integers differ).
bool fieldDiffers(const ParameterField& field);

// The controller's value as the messages show it: divided by the scale in integer arithmetic,
// truncating toward zero (35 tenths show as 3); switches and EGGPARMs unchanged.
int32_t shownControllerValue(const ParameterField& field);

}  // namespace tavir
