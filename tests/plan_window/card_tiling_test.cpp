#include <gtest/gtest.h>

#include <cmath>

#include "plan_text/card_text.h"
#include "plan_window/card_tiling.h"

namespace tarvex {
namespace {

planning::Plan FeedsRight(std::initializer_list<double> rights) {
    planning::Plan plan;
    for (const double right : rights) {
        planning::FeedPlan feed;
        feed.right_mm = right;
        feed.up_mm = -right / 10;
        feed.distance_mm = std::hypot(feed.right_mm, feed.up_mm);
        plan.feeds.push_back(feed);
    }
    return plan;
}

bool Contains(const LayoutBounds& region, const planning::FeedPlan& feed) {
    const double r = planning::FeedBodyMm / 2;
    return feed.right_mm - r >= region.left && feed.right_mm + r <= region.right &&
           feed.up_mm - r >= region.bottom && feed.up_mm + r <= region.top;
}

// Every feed lies whole on at least one tile, or is named as unplaced; never more tiles than
// the card allows.
TEST(TileCard, EveryFeedWholeOnATileOrUnplaced) {
    const struct {
        const char* name;
        planning::Plan plan;
        std::size_t tiles;
        std::vector<int> unplaced;
    } rows[] = {
        {"two feeds, one sheet", FeedsRight({0, 64}), 1, {}},
        {"Moscow-like: 278 and 399 mm", FeedsRight({0, 51, 278, 399}), 4, {}},
        {"to the left", FeedsRight({0, -150, -300}), 3, {}},
        {"a feed kilometres away", FeedsRight({0, 60, 1e7}), 1, {2}},
        {"1e20 mm", FeedsRight({0, 1e20}), 1, {1}},
        {"no number", FeedsRight({0, NAN, 60}), 1, {1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CardTiling tiling = TileCard(row.plan, 170, 230);
        EXPECT_EQ(tiling.tiles.size(), row.tiles);
        EXPECT_EQ(tiling.unplaced, row.unplaced);
        EXPECT_LE(static_cast<int>(tiling.tiles.size()), MaxCardSheets);
        for (std::size_t index = 0; index < row.plan.feeds.size(); ++index) {
            const bool placed = std::none_of(tiling.unplaced.begin(), tiling.unplaced.end(),
                                             [&](int u) { return u == int(index); });
            const bool whole = std::any_of(
                tiling.tiles.begin(), tiling.tiles.end(),
                [&](const CardTile& t) { return Contains(t.region, row.plan.feeds[index]); });
            EXPECT_EQ(whole, placed) << "feed " << index + 1;
        }
        for (const CardTile& tile : tiling.tiles) {
            EXPECT_LE(tile.region.right - tile.region.left, 170 + 1e-9);
            EXPECT_LE(tile.region.top - tile.region.bottom, 230 + 1e-9);
        }
    }
}

TEST(MirroredPlan, SeenFromInFront) {
    planning::Plan plan = FeedsRight({0, 64});
    plan.feeds[1].rotation_deg = 30;
    plan.feeds[1].tilt_deg = -30;
    const planning::FeedPlan mirrored = MirroredPlan(plan).feeds[1];
    EXPECT_DOUBLE_EQ(mirrored.right_mm, -64);
    EXPECT_DOUBLE_EQ(mirrored.up_mm, plan.feeds[1].up_mm);
    EXPECT_DOUBLE_EQ(mirrored.rotation_deg, -30);
    EXPECT_DOUBLE_EQ(mirrored.tilt_deg, -150);
}

TEST(PackOnPages, StacksWhatFits) {
    EXPECT_EQ(PackOnPages({100, 100, 100}, 250), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(PackOnPages({300, 10}, 250), (std::vector<int>{0, 1}));
    EXPECT_TRUE(PackOnPages({}, 250).empty());
}

TEST(CardWords, SheetsAndUnplacedFeeds) {
    EXPECT_EQ(CardPageLabel(2, 4), "лист 2 из 4");
    EXPECT_EQ(CardTilePlace(1, 2, 3), "ряд 1, столбец 2 из 3");
    planning::FeedPlan feed;
    feed.right_mm = 1e7;
    feed.distance_mm = 1e7;
    EXPECT_EQ(UnplacedFeedText(3, feed),
              "Конвертор 3 не поместился на карточку: он в 10 км от конвертора 1 "
              "(10000000.0 мм вправо, 0.0 мм). Отмерьте это положение от центра конвертора 1.");
    EXPECT_EQ(CardSheetNotes(1, 2, 3, 2, {3, 4}),
              (std::vector<std::string>{"ряд 1, столбец 2 из 3 (рядов: 2)",
                                        "в натуральную величину, мм от центра конвертора 1",
                                        "не поместились: конвертор 3, 4 — см. лист 1"}));
    EXPECT_EQ(CardSheetNotes(1, 1, 1, 1, {}).size(), 1u);
    EXPECT_EQ(CardFoot("1.0.0", 35.4615, 32 + 48.5 / 60, {13, -4.5}),
              "Tarvex 1.0.0 · долгота 35.4615°, широта 32.8083° · спутники 13.0° в.д., 4.5° з.д.");
}

}  // namespace
}  // namespace tarvex
