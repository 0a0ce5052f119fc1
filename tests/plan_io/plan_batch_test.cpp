#include <gtest/gtest.h>

#include "plan_io/json_writer.h"
#include "plan_io/plan_batch.h"
#include "plan_text/problem_text.h"

namespace tarvex {
namespace {

using Kind = planning::InputProblemKind;

// Each line's first problem as data: what is wrong, the key, the element of "sats", the text.
TEST(ParsePlanBatchLine, NamesEachProblemsKeyAndElement) {
    const struct {
        const char* line;
        Kind kind;
        const char* key;
        int element;
        const char* value;
    } rows[] = {
        {R"({"lon":35,)", Kind::NotJson, "", 0, ""},
        {R"([1])", Kind::NotAnObject, "", 0, ""},
        {R"({"lon":35,"f":1})", Kind::UnknownKey, "", 0, "f"},
        {R"({"lon":35,"lon":36})", Kind::GivenTwice, "lon", 0, ""},
        {R"({"lat":32,"sats":[13,19],"focal_mm":600})", Kind::Missing, "lon", 0, ""},
        {R"({"lon":35,"lat":32,"sats":[13,19]})", Kind::Missing, "focal_mm", 0, ""},
        {R"({"lon":true})", Kind::NotOfItsKind, "lon", 0, ""},
        {R"({"lat":"32E"})", Kind::NotOfItsKind, "lat", 0, ""},
        {R"({"sats":13})", Kind::NotAnArray, "sats", 0, ""},
        {R"({"sats":[13,true]})", Kind::NotOfItsKind, "sats", 2, ""},
        {R"({"sats":[13,19,-1e400]})", Kind::OutOfRange, "sats", 3, ""},
        {R"({"focal_mm":1e400})", Kind::OutOfRange, "focal_mm", 0, ""},
        {R"({"x":1e400})", Kind::UnknownKey, "", 0, "x"},
        {R"({"sats":[13,"Astra"]})", Kind::SatelliteAmbiguous, "sats", 2, "Astra"},
        {R"({"sats":["zzzzqq",13]})", Kind::SatelliteUnknown, "sats", 1, "zzzzqq"},
        {R"({"date":"2026-13-01"})", Kind::NotOfItsKind, "date", 0, ""},
        {R"({"date":1e400})", Kind::NotOfItsKind, "date", 0, ""},
        {R"({"dish":"round"})", Kind::NotOfItsKind, "dish", 0, ""},
        {R"({"depth_mm":{"a":[1,2]}})", Kind::NotOfItsKind, "depth_mm", 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        const auto parsed = ParsePlanBatchLine(row.line, {});
        ASSERT_TRUE(std::holds_alternative<planning::InputProblem>(parsed));
        const auto& problem = std::get<planning::InputProblem>(parsed);
        EXPECT_EQ(problem.kind, row.kind);
        EXPECT_EQ(problem.key, row.key);
        EXPECT_EQ(problem.element, row.element);
        EXPECT_EQ(problem.value, row.value);
    }
}

// A satellite by name and an empty list: the defaults stand where the line gives nothing.
TEST(ParsePlanBatchLine, TakesNamesAndDefaults) {
    PlanBatchDefaults defaults;
    defaults.satellites_deg = {13, 19.2};
    defaults.focal_length_mm = 600;
    const auto parsed =
        ParsePlanBatchLine(R"({"lon":"35:27.69","lat":32,"sats":["amu",13]})", defaults);
    ASSERT_TRUE(std::holds_alternative<planning::PlanInput>(parsed));
    const auto& input = std::get<planning::PlanInput>(parsed);
    EXPECT_EQ(input.satellites_deg, (std::vector<double>{36.1, 13}));
    EXPECT_EQ(input.site_longitude_deg, 35.4615);
    EXPECT_EQ(input.focal_length_mm, 600);
}

// Satellites past the fourth are counted for the plan's refusal, never looked up.
TEST(ParsePlanBatchLine, CountsSatellitesPastTheFourthUnread) {
    const auto parsed = ParsePlanBatchLine(
        R"({"lon":1,"lat":1,"focal_mm":600,"sats":[1,2,3,4,"Astra","zzzzqq"]})", {});
    ASSERT_TRUE(std::holds_alternative<planning::PlanInput>(parsed));
    EXPECT_EQ(std::get<planning::PlanInput>(parsed).satellites_deg.size(), 6u);
}

// The refusal-to-input map ends the window's and the page's old disagreements.
TEST(RefusedInput, NamesTheInputToChange) {
    const auto dish = [](planning::DishProblem problem) {
        planning::PlanRefusal refusal;
        refusal.kind = planning::RefusalKind::Dish;
        refusal.dish.problem = problem;
        return planning::RefusalProblem(refusal).key;
    };
    EXPECT_EQ(dish(planning::DishProblem::NoSuchRims), "rim_high_mm");
    EXPECT_EQ(dish(planning::DishProblem::FocalAndDepth), "depth_mm");
    EXPECT_EQ(dish(planning::DishProblem::TwoWaysToFocus), "dish");
    planning::PlanRefusal below;
    below.kind = planning::RefusalKind::BelowHorizon;
    below.satellite = 3;
    EXPECT_EQ(planning::RefusalProblem(below).key, "sats");
    EXPECT_EQ(planning::RefusalProblem(below).element, 3);
}

// The words: the CLI's English as it has always been, the window's and the page's Russian.
TEST(ProblemText, WordsEachProblemInBothLanguages) {
    const struct {
        planning::InputProblem problem;
        const char* english;
        const char* russian;
    } rows[] = {
        {{Kind::UnknownKey, "", 0, "f", {}, {}},
         R"(unknown key "f")",
         "Этот расчёт такое поле пока не учитывает."},
        {{Kind::Missing, "lat", 0, "", {}, {}}, R"(missing "lat")", "Заполните поле"},
        {{Kind::Missing, "sats", 0, "", {}, {}}, R"(missing "sats")", "Нужно от 2 до 4 спутников."},
        {{Kind::Missing, "sats", 3, "", {}, {}},
         R"(missing "sats")",
         "Спутник 3 не задан: укажите долготу или имя."},
        {{Kind::NotOfItsKind, "sats", 2, "", {}, {}},
         R"(the value of an element of "sats" is not a number)",
         "Градусы (35.4615), градусы:минуты (35:27.69) или 35°27′41″, можно с в.д./з.д."},
        {{Kind::NotOfItsKind, "dish", 0, "", {}, {}},
         R"(the value of "dish" is not "prime" or "offset")",
         "Тип антенны: prime (прямофокусная) или offset (офсетная)."},
        {{Kind::OutOfRange, "", 0, "", {}, {}},
         "a number is out of range",
         "Число миллиметров больше нуля"},
        {{Kind::SatelliteAmbiguous, "sats", 2, "Astra", {}, {}},
         R"(an element of "sats": "Astra" is more than one position: 19.2E (Astra, Astra 1KR, )"
         R"(Astra 1L, Astra 1M, Astra 1N); 23.5E (Astra, Astra 3B); 28.2E (Astra, Astra 2F, Astra 2G); )"
         "give one of their names or the longitude",
         "Спутник 2: «Astra» — несколько позиций: 19.2° в.д. — Astra, Astra 1KR, Astra 1L, Astra "
         "1M, Astra 1N; 23.5° в.д. — Astra, Astra 3B; 28.2° в.д. — Astra, Astra 2F, Astra 2G. "
         "Укажите "
         "имя точнее или долготу."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.english);
        EXPECT_EQ(ProblemInEnglish(row.problem), row.english);
        EXPECT_EQ(ProblemInRussian(row.problem), row.russian);
    }
}

// Numbers as the plan's JSON has always written them, and one writer for every line.
TEST(JsonWriter, WritesNumbersAndObjects) {
    const std::pair<double, const char*> rows[] = {{13, "13.0"},
                                                   {-0.0, "0.0"},
                                                   {0.1, "0.1"},
                                                   {1e-5, "1e-05"},
                                                   {0.0001, "0.0001"},
                                                   {1e15, "1e+15"},
                                                   {-2.5e-300, "-2.5e-300"},
                                                   {123456789012345, "123456789012345.0"},
                                                   {1234567890123456, "1.234567890123456e+15"},
                                                   {70.37298712472179, "70.37298712472179"}};
    for (const auto& [value, text] : rows) {
        std::string out;
        AppendJsonNumber(out, value);
        EXPECT_EQ(out, text);
    }
    EXPECT_EQ(ErrorLine(3, "a \"b\"\n"), R"({"error":"line 3: a \"b\"\n"})");
}

}  // namespace
}  // namespace tarvex
