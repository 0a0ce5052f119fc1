#include "bench/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarvex::bench {

Summary Summarize(std::vector<double> samples) {
    if (samples.empty()) {
        return {};
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t count = samples.size();
    Summary summary;
    summary.median =
        count % 2 == 1 ? samples[count / 2] : (samples[count / 2 - 1] + samples[count / 2]) / 2;
    // ceil(0.99 * count) in integers, so the rank never hangs on how 0.99 rounds.
    const std::size_t rank = (99 * count + 99) / 100;
    summary.p99 = samples[std::max<std::size_t>(rank, 1) - 1];
    return summary;
}

std::string FormatFigure(double value, int decimals) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, value);
    std::string text(digits);
    const std::size_t point = text.find('.');
    std::size_t integer_end = point == std::string::npos ? text.size() : point;
    const std::size_t integer_begin = text.front() == '-' ? 1 : 0;
    if (integer_end - integer_begin < 5) {
        return text;
    }
    while (integer_end - integer_begin > 3) {
        integer_end -= 3;
        text.insert(integer_end, 1, ' ');
    }
    return text;
}

}  // namespace tarvex::bench
