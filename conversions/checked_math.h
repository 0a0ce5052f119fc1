#pragma once

// Double arithmetic that never passes an infinity or a not-a-number on.
//
// Every operation checks its operands and its result, and throws RuntimeError:
//   an infinite operand (a typed number beyond the double range) -> "Overflow"
//   a finite result out of range, e.g. Mul(1e300, 1e300)         -> "Overflow"
//   a divisor of zero, e.g. Div(1, 0) or Div(0, 0)               -> "Division by zero"
//   a not-a-number result, e.g. Sqrt(-1)                          -> "Invalid operation"
// Results are plain IEEE doubles, rounded once per operation.

namespace tarvex {

double Add(double a, double b);  // Add(0.1, 0.2) -> 0.30000000000000004
double Sub(double a, double b);  // Sub(1, 0.25) -> 0.75
double Mul(double a, double b);  // Mul(35, 60) -> 2100
double Div(double a, double b);  // Div(1, 4) -> 0.25; Div(1, 0) throws

double Sin(double x);     // Sin(0) -> 0
double Cos(double x);     // Cos(0) -> 1
double Tan(double x);     // Tan(0) -> 0
double Atan(double x);    // Atan(1) -> 0.7853981633974483
double Sqrt(double x);    // Sqrt(4) -> 2; Sqrt(-1) throws "Invalid operation"
double Square(double x);  // Square(3) -> 9, the platform's pow(x, 2)

// Throws "Overflow" unless x is finite: for values computed elsewhere that must be checked.
double CheckFinite(double x);

}  // namespace tarvex
