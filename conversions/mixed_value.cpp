#include "conversions/mixed_value.h"

#include "conversions/checked_math.h"
#include "conversions/number_text.h"

namespace tarvex {

double AsDouble(const MixedValue& value) {
    return value.IsText() ? ParseNumberStrict(value.Text()) : CheckFinite(value.Number());
}

std::string NumberToText(const MixedValue& value) {
    return NumberToText(AsDouble(value));
}

}  // namespace tarvex
