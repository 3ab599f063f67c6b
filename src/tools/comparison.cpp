#include "tools/comparison.h"

#include <cmath>

namespace tavir {

namespace {

int32_t truncateToInt32(double value) {
    if (!(value > -2147483649.0)) return INT32_MIN;  // also NaN, which the table source never gives
    if (value >= 2147483648.0) return INT32_MAX;
    return static_cast<int32_t>(value);  // toward zero
}

}  // namespace

int32_t scaledTableValue(const ParameterField& field) {
    const double product = field.tableValue * kindScale(field.kind);
    return truncateToInt32(product);
}

bool fieldDiffers(const ParameterField& field) {
    const int32_t controller = field.controller();
    if (kindHoldsIntegers(field.kind)) return truncateToInt32(field.tableValue) != controller;
    const double product = field.tableValue * kindScale(field.kind);
    return std::fabs(product - controller) > 0.1;
}

int32_t shownControllerValue(const ParameterField& field) {
    return field.controller() / kindScale(field.kind);
}

}  // namespace tavir
