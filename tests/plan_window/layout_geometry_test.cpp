#include <gtest/gtest.h>

#include <cmath>

#include "plan_text/card_text.h"
#include "plan_window/layout_geometry.h"

namespace tarvex {
namespace {

planning::Plan FeedsAt(std::initializer_list<std::pair<double, double>> positions) {
    planning::Plan plan;
    for (const auto& [right, up] : positions) {
        planning::FeedPlan feed;
        feed.right_mm = right;
        feed.up_mm = up;
        feed.distance_mm = std::hypot(right, up);
        plan.feeds.push_back(feed);
    }
    return plan;
}

// However large the region, the grid keeps to its cap, with lines at least a few pixels apart.
TEST(GridStepsFor, FinestStepWithinTheCap) {
    const struct {
        double span, per_mm, minor, major;
    } rows[] = {{180, 4, 1, 10},  {180, 1.5, 5, 10},         {240, 1.5, 5, 10},
                {600, 10, 5, 10}, {2e20, 1e-18, 5e18, 1e19}, {1e300, 1e-297, 5e297, 1e298}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.span);
        const GridSteps steps = GridStepsFor(row.span, row.per_mm, 4);
        EXPECT_DOUBLE_EQ(steps.minor, row.minor);
        EXPECT_DOUBLE_EQ(steps.major, row.major);
        EXPECT_LE(GridLines(-row.span / 2, row.span / 2, steps.minor, 1000).size(),
                  std::size_t{MaxGridLinesPerAxis + 1});
    }
}

TEST(GridLines, MultiplesOfTheStepWithinTheRange) {
    EXPECT_EQ(GridLines(-25, 25, 20, 100), (std::vector<double>{-20, 0, 20}));
    EXPECT_EQ(GridLines(-30, 90, 10, 100).size(), std::size_t{13});
    EXPECT_EQ(GridLines(0, 1e6, 1, 5).size(), std::size_t{5});  // never more than asked
    EXPECT_TRUE(GridLines(0, INFINITY, 1, 5).empty());
    EXPECT_TRUE(GridLines(0, 10, 0, 5).empty());
}

TEST(DrawingExtentOf, FeedsBeyondReachAreLeftToArrows) {
    const DrawingExtent near = DrawingExtentOf(FeedsAt({{0, 0}, {64, -37}}), std::nullopt);
    EXPECT_EQ(near.far_feeds.size(), std::size_t{0});
    EXPECT_DOUBLE_EQ(near.bounds.right, 90);

    const DrawingExtent far =
        DrawingExtentOf(FeedsAt({{0, 0}, {1e20, -6e19}, {100, 0}}), FeedPosition{1e7, 0});
    EXPECT_EQ(far.far_feeds, (std::vector<int>{1}));
    EXPECT_FALSE(far.marker_shown);
    EXPECT_DOUBLE_EQ(far.bounds.right, 130);
    EXPECT_DOUBLE_EQ(far.bounds.bottom, -130);
    const DrawingExtent alone = DrawingExtentOf(FeedsAt({{0, 0}, {1e7, -6e6}}), std::nullopt);
    EXPECT_DOUBLE_EQ(alone.bounds.left, -60);  // room for the arrow
}

TEST(ArrowAtEdge, WhereTheLineFromFeed1LeavesTheRegion) {
    const LayoutBounds bounds{-30, 30, -30, 30};
    const EdgeArrow corner = ArrowAtEdge(bounds, 1e20, -1e20, 0);
    EXPECT_NEAR(corner.right_mm, 30, 1e-9);
    EXPECT_NEAR(corner.up_mm, -30, 1e-9);
    EXPECT_NEAR(corner.towards_right, std::sqrt(0.5), 1e-12);
    const EdgeArrow left = ArrowAtEdge(bounds, -600, 0, 5);
    EXPECT_DOUBLE_EQ(left.right_mm, -25);
    EXPECT_DOUBLE_EQ(left.up_mm, 0);
    EXPECT_DOUBLE_EQ(left.towards_right, -1);
}

TEST(DistanceText, UnitForATape) {
    const struct {
        double mm;
        const char* text;
    } rows[] = {{399.2, "399 мм"}, {9999.4, "9999 мм"},     {12345, "12.3 м"},
                {1e8, "100 км"},   {1e20, "более 1000 км"}, {NAN, "более 1000 км"}};
    for (const auto& row : rows) {
        EXPECT_EQ(DistanceText(row.mm), row.text);
    }
}

// Labels crowded on one spot all find their own place, within the area while there is room.
TEST(PlaceLabels, NoLabelCoversAnotherOrAKeptSpot) {
    const LabelBox area{0, 0, 200, 200};
    for (const int count : {2, 5, 40}) {
        SCOPED_TRACE(count);
        const std::vector<LabelRequest> requests(count, LabelRequest{100, 100, 20, 15, 10});
        const std::vector<LabelBox> kept = {{90, 90, 20, 20}};
        const std::vector<LabelBox> boxes = PlaceLabels(requests, kept, area);
        ASSERT_EQ(boxes.size(), requests.size());
        for (std::size_t a = 0; a < boxes.size(); ++a) {
            EXPECT_FALSE(Overlap(boxes[a], kept[0]));
            for (std::size_t b = a + 1; b < boxes.size(); ++b) {
                EXPECT_FALSE(Overlap(boxes[a], boxes[b])) << a << " " << b;
            }
        }
    }
    // The first goes to the upper right of its anchor.
    const LabelBox first = PlaceLabels({{100, 100, 20, 15, 10}}, {}, area).front();
    EXPECT_GT(first.left, 100);
    EXPECT_LT(first.top + first.height, 100);
}

}  // namespace
}  // namespace tarvex
