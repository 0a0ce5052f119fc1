#pragma once

#include <string>
#include <vector>

namespace tarvex::bench {

// The median and the 99th percentile of a set of samples. The median of an even count is the
// mean of the two middle samples; the percentile is the nearest rank, so it is always a sample
// that was measured:
//   {3, 1, 2} -> median 2, p99 3;  {4, 1, 3, 2} -> median 2.5, p99 4;
//   1..200 -> median 100.5, p99 198 (rank ceil(0.99 * 200) = 198).
// No samples gives zeros.
struct Summary {
    double median = 0;
    double p99 = 0;
};
Summary Summarize(std::vector<double> samples);

// A figure for the table with `decimals` digits after the point, and thousands grouped by
// blanks from five digits on: (1.234567, 2) -> "1.23"; (1234, 0) -> "1234";
// (1234567, 0) -> "1 234 567".
std::string FormatFigure(double value, int decimals);

}  // namespace tarvex::bench
