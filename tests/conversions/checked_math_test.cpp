#include "conversions/checked_math.h"

#include <gtest/gtest.h>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

std::string ErrorOf(double (*operation)()) {
    try {
        operation();
    } catch (const RuntimeError& error) {
        return error.what();
    }
    return "no error";
}

TEST(CheckedMath, NamesEachFaultAndPassesNoInfinityOrNaN) {
    EXPECT_EQ(ErrorOf([] { return Div(1, 0); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { return Div(0, -0.0); }), "Division by zero");
    EXPECT_EQ(ErrorOf([] { return Mul(1e300, 1e300); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Add(1.7e308, 1.7e308); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Sub(-1.7e308, 1.7e308); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Sqrt(-1); }), "Invalid operation");
    // A typed number beyond the double range reads as infinity; the next operation reports it.
    EXPECT_EQ(ErrorOf([] { return Mul(ParseLeadingNumber("1e999"), 0.0); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Sin(ParseLeadingNumber("-1e999")); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Square(1e200); }), "Overflow");
    EXPECT_EQ(ErrorOf([] { return Div(1, 4); }), "no error");
}

}  // namespace
}  // namespace tarvex
