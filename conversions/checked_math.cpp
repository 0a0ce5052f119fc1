#include "conversions/checked_math.h"

#include <cfloat>
#include <cmath>

#include "conversions/runtime_error.h"

// Results must be rounded to double after every operation, never carried in wider registers.
#if FLT_EVAL_METHOD != 0
#error "floating-point expressions must be evaluated in their own type (FLT_EVAL_METHOD 0)"
#endif

namespace tarvex {
namespace {

void RequireFinite(double operand) {
    if (!std::isfinite(operand)) {
        throw RuntimeError(ErrorKind::Overflow, "Overflow");
    }
}

double CheckResult(double result) {
    if (std::isnan(result)) {
        throw RuntimeError(ErrorKind::InvalidOperation, "Invalid operation");
    }
    if (std::isinf(result)) {
        throw RuntimeError(ErrorKind::Overflow, "Overflow");
    }
    return result;
}

template <typename Op>
double Binary(double a, double b, Op op) {
    RequireFinite(a);
    RequireFinite(b);
    return CheckResult(op(a, b));
}

template <typename Fn>
double Unary(double x, Fn fn) {
    RequireFinite(x);
    return CheckResult(fn(x));
}

}  // namespace

double Add(double a, double b) {
    return Binary(a, b, [](double x, double y) { return x + y; });
}

double Sub(double a, double b) {
    return Binary(a, b, [](double x, double y) { return x - y; });
}

double Mul(double a, double b) {
    return Binary(a, b, [](double x, double y) { return x * y; });
}

double Div(double a, double b) {
    RequireFinite(a);
    RequireFinite(b);
    if (b == 0.0) {
        throw RuntimeError(ErrorKind::DivisionByZero, "Division by zero");
    }
    return CheckResult(a / b);
}

double Sin(double x) {
    return Unary(x, [](double v) { return std::sin(v); });
}

double Cos(double x) {
    return Unary(x, [](double v) { return std::cos(v); });
}

double Tan(double x) {
    return Unary(x, [](double v) { return std::tan(v); });
}

double Atan(double x) {
    return Unary(x, [](double v) { return std::atan(v); });
}

double Sqrt(double x) {
    return Unary(x, [](double v) { return std::sqrt(v); });
}

double Square(double x) {
    return Unary(x, [](double v) { return std::pow(v, 2.0); });
}

double CheckFinite(double x) {
    return CheckResult(x);
}

}  // namespace tarvex
