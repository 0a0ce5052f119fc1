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

MixedValue operator+(const MixedValue& a, const MixedValue& b) {
    if (a.IsText() && b.IsText()) {
        return MixedValue(a.Text() + b.Text());
    }
    return MixedValue(Add(AsDouble(a), AsDouble(b)));
}

bool operator==(const MixedValue& a, const MixedValue& b) {
    if (a.IsText() && b.IsText()) {
        return a.Text() == b.Text();
    }
    return AsDouble(a) == AsDouble(b);
}

bool operator<(const MixedValue& a, const MixedValue& b) {
    if (a.IsText() && b.IsText()) {
        return a.Text() < b.Text();
    }
    return AsDouble(a) < AsDouble(b);
}

}  // namespace tarvex
