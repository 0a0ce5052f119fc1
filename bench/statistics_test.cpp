#include "bench/statistics.h"

#include <gtest/gtest.h>

#include <numeric>

namespace tarvex::bench {
namespace {

std::vector<double> OneTo(int count) {
    std::vector<double> samples(static_cast<std::size_t>(count));
    std::iota(samples.begin(), samples.end(), 1.0);
    return samples;
}

TEST(Summarize, MedianAndNearestRankPercentile) {
    struct Case {
        std::vector<double> samples;
        double median;
        double p99;
    };
    const Case cases[] = {
        {{}, 0, 0},
        {{7}, 7, 7},
        {{3, 1, 2}, 2, 3},
        {{4, 1, 3, 2}, 2.5, 4},
        // The rank is ceil(0.99 * n): a whole number for these counts, so no rounding up.
        {OneTo(100), 50.5, 99},
        {OneTo(200), 100.5, 198},
        {OneTo(1000), 500.5, 990},
        // Below a hundred samples the percentile is the largest.
        {OneTo(50), 25.5, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.samples.size());
        const Summary summary = Summarize(c.samples);
        EXPECT_EQ(summary.median, c.median);
        EXPECT_EQ(summary.p99, c.p99);
    }
}

TEST(FormatFigure, DecimalsAndGroupsOfThousands) {
    EXPECT_EQ(FormatFigure(1.234567, 2), "1.23");
    EXPECT_EQ(FormatFigure(1234, 0), "1234");
    EXPECT_EQ(FormatFigure(12345.6, 1), "12 345.6");
    EXPECT_EQ(FormatFigure(1234567, 0), "1 234 567");
    EXPECT_EQ(FormatFigure(-123456, 0), "-123 456");
    EXPECT_EQ(FormatFigure(999999.6, 0), "1 000 000");
}

}  // namespace
}  // namespace tarvex::bench
