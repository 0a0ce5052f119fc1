#include "names/places.h"

#include <gtest/gtest.h>

namespace {

using tarvex::names::Place;

// Coordinates as GeoNames gives them (geonames.org, the towns' pages).
TEST(FindPlaces, FindsATownByItsRussianOrLatinNameMostPopulousFirst) {
    struct Row {
        const char* text;
        const char* entry;
        double latitude;
        double longitude;
    };
    const Row rows[] = {
        {"Екатеринбург", "Екатеринбург, Свердловская область, Россия", 56.8519, 60.6122},
        {"yekaterinburg", "Екатеринбург, Свердловская область, Россия", 56.8519, 60.6122},
        {"ЕКАТ", "Екатеринбург, Свердловская область, Россия", 56.8519, 60.6122},
        {"Екатеринбург, Свердловская область, Россия", "Екатеринбург, Свердловская область, Россия",
         56.8519, 60.6122},
        {"Москва", "Москва, Россия", 55.7522, 37.6156},
        {"Moscow, Idaho", "Москва, Айдахо, США", 46.7324, -117.0002},
        {"Орел", "Орёл, Орловская область, Россия", 52.9651, 36.0785},
        {"krakow", "Краков, Малопольское воеводство, Польша", 50.0614, 19.9366},
        {"Петербург", "Санкт-Петербург, Россия", 59.9386, 30.3141},  // a later word's start
        {"teverya", "Тверия, Northern District, Израиль", 32.7922, 35.5312},  // region in Latin
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::vector<Place> places = tarvex::names::FindPlaces(row.text, 3);
        ASSERT_FALSE(places.empty());
        ASSERT_LE(places.size(), 3u);
        EXPECT_EQ(tarvex::names::PlaceEntry(places.front()), row.entry);
        EXPECT_NEAR(places.front().latitude_deg, row.latitude, 0.01);
        EXPECT_NEAR(places.front().longitude_deg, row.longitude, 0.01);
        for (std::size_t i = 1; i < places.size(); ++i) {
            EXPECT_GE(places[i - 1].population, places[i].population);
        }
    }
    EXPECT_TRUE(tarvex::names::FindPlaces("Xyzzyx").empty());
    EXPECT_TRUE(tarvex::names::FindPlaces("").empty());
    EXPECT_TRUE(tarvex::names::FindPlaces("\xd1\xee\xf7\xe8").empty());  // "Сочи" in cp1251
    EXPECT_TRUE(tarvex::names::FindPlaces("теринбург").empty());         // not a word's start
}

}  // namespace
