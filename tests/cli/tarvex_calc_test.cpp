// End-to-end runs of the real tarvex-calc binary.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CalcRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Runs tarvex-calc with shell-quoted `arguments` and `input` on its standard input; its standard
// output goes to `out` if given, else to a file read back. `feed`, when given, is a shell command
// whose output is the standard input instead; `prefix` a command that runs tarvex-calc.
CalcRun RunCalc(const std::string& arguments, const std::string& input = "",
                const std::string& out = "", const std::string& feed = "",
                const std::string& prefix = "") {
    const fs::path folder = fs::temp_directory_path() / ("tarvex_calc_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "in", std::ios::binary) << input;
    const std::string source = feed.empty() ? "" : feed + " | ";
    const std::string in = feed.empty() ? " < '" + (folder / "in").string() + "'" : "";
    const std::string command = source + prefix + "'" + TARVEX_CALC + "' " + arguments + in +
                                " > '" + (out.empty() ? (folder / "out").string() : out) +
                                "' 2> '" + (folder / "err").string() + "'";
    const int raw = std::system(command.c_str());
    CalcRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                out.empty() ? ReadBytes(folder / "out") : "", ReadBytes(folder / "err")};
    fs::remove_all(folder);
    return run;
}

constexpr const char* ExampleJson =
    R"({"azimuth1":" 217.344291652777","elevation1":" 44.8168471212995",)"
    R"("azimuth2":" 208.2955","elevation2":" 47.99485","rotation":" + 23.5",)"
    R"("vertical_offset":" 33.2649мм-->НИЖЕ","horizontal_offset":" 94.3645мм-->СПРАВА",)"
    R"("results_line":"217.344291652777,44.8168471212995\r\n"})"
    "\n";

TEST(TarvexCalc, EndingsAndExitStatus) {
    struct Row {
        const char* arguments;
        int status;
        const char* out;
    };
    const Row rows[] = {
        {"--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600 --json", 0, ExampleJson},
        {"--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600", 0,
         "1) BETA-угол места:         44.8168471212995\n"
         "1) ALFA-азимут:             217.344291652777\n"
         "2) BETA-угол места:         47.99485\n"
         "2) ALFA-азимут:             208.2955\n"
         "СДВИГ УГЛА ВОЗВЫШЕНИЯ:      33.2649мм-->НИЖЕ\n"
         "УГОЛ ПОВОРОТА:              + 23.5\n"
         "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ:  94.3645мм-->СПРАВА\n"},
        {"--json", 1, "{\"message\":\"НЕТ КООРДИНАТ (1) \"}\n"},
        {"--sat1-deg 13 --sat2-deg 19 --json", 1, "{\"message\":\"НЕТ ФОКУСА АНТЕНЫ\"}\n"},
        {"--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 1e999 --json", 2,
         R"({"azimuth1":" 217.344291652777","azimuth2":" 208.2955","rotation":" + 23.5",)"
         R"("error":"Overflow"})"
         "\n"},
        {"--site-lat-deg 1e-200 --site-lat-min '' --sat1-deg 35 --sat1-min 27.69 --sat2-deg 19 "
         "--focal 600 --json",
         0,
         R"({"azimuth1":" 180","elevation1":" 90","azimuth2":" 270","elevation2":" 70.67634",)"
         R"("rotation":" + 90","vertical_offset":" 198.541мм-->ВЫШЕ",)"
         R"("horizontal_offset":" 599.999мм-->СЛЕВА","results_line":"180,90\r\n"})"
         "\n"},
        {"--site-lon-deg -4 --site-lon-min -30 --sat1-deg -5 --sat2-deg 4 --focal 600 --json", 0,
         nullptr},
        {"--sat1-deg 13 --sat2-deg 19 --focal 1e999", 2,
         "1) ALFA-азимут:             217.344291652777\n"
         "2) ALFA-азимут:             208.6055\n"
         "УГОЛ ПОВОРОТА:              + 23.7\n"},
        // An empty value after "=" is the value, not a reason to take the next argument.
        {"--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal= --json", 1,
         "{\"message\":\"НЕТ ФОКУСА АНТЕНЫ\"}\n"},
        {"--sat1-deg", 64, ""},
        {"--bogus", 64, ""},
        {"positional", 64, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CalcRun run = RunCalc(row.arguments);
        EXPECT_EQ(run.status, row.status);
        if (row.out != nullptr) {
            EXPECT_EQ(run.out, row.out);
        }
        const bool json = std::string(row.arguments).find("--json") != std::string::npos;
        if (row.status < 64) {  // a run-time error in text goes to standard error
            EXPECT_EQ(run.err,
                      row.status == 2 && !json ? "tarvex-calc: run-time error: Overflow\n" : "");
        }
    }
}

TEST(TarvexCalc, BatchAnswersEveryLineInOrderAndRejectsBadOnes) {
    const std::string input =
        std::string(R"({"sat1_deg": "13", "sat2_deg": "19", "sat2_min": "12", "focal": "600"})") +
        "\n"
        // The same with escapes and white space of every kind.
        "\t{ \"sat1_deg\" : \"\\u0031\\u0033\",\"sat2_deg\":\"19\", \"sat2_min\":\"12\","
        "\"focal\":\"600\" }\r\n"
        "{\"sat1_deg\": \"13\"\n"
        R"({"sat1_deg": "13", "colour": "red"})"
        "\n"
        R"(["13"])"
        "\n"
        // A NUL byte does not end the line, nor does an answer wait for a line's end in memory.
        R"({"sat1_deg": "13", "sat2_deg": "19", "focal": "600"})" +
        '\0' + " junk ]]]\n" + "{\"sat1_deg\": \"" + std::string(1 << 20, '1') + "\"}\n" +
        R"({"sat2_deg": "19", "focal": "600"})"
        "\n"
        R"({"sat1_deg": "13", "sat2_deg": "19", "sat2_min": "12", "focal": "1e999"})"
        "\n"
        // A repeated key, in the form tools write and in any other; a number beyond a double.
        R"({"sat1_deg": "13", "sat1_deg": "19"})"
        "\n"
        R"({"sat1_deg": "13", "sat1_deg": "\u0031"})"
        "\n"
        R"({"focal": 1e400})"
        "\n"
        R"({"focal": )" +
        std::string(50'000, '[') + std::string(50'000, ']') + R"(, "sat1_deg": "13"})";
    const CalcRun run = RunCalc("--batch", input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              std::string(ExampleJson) + ExampleJson +
                  R"({"error":"line 3: not valid JSON"})"
                  "\n"
                  R"({"error":"line 4: unknown key \"colour\""})"
                  "\n"
                  R"({"error":"line 5: not a JSON object"})"
                  "\n"
                  R"({"error":"line 6: holds a NUL byte"})"
                  "\n"
                  R"({"error":"line 7: longer than 1 MiB"})"
                  "\n"
                  R"({"message":"НЕТ КООРДИНАТ (1) "})"
                  "\n"
                  R"({"azimuth1":" 217.344291652777","azimuth2":" 208.2955","rotation":" + 23.5",)"
                  R"("error":"Overflow"})"
                  "\n"
                  R"({"error":"line 10: the key \"sat1_deg\" is given twice"})"
                  "\n"
                  R"({"error":"line 11: the key \"sat1_deg\" is given twice"})"
                  "\n"
                  R"({"error":"line 12: the value of \"focal\" is not a string"})"
                  "\n"
                  R"({"error":"line 13: the value of \"focal\" is not a string"})"
                  "\n");
}

TEST(TarvexCalc, BatchTakesAbsentKeysFromTheCommandLine) {
    const CalcRun run =
        RunCalc("--batch --focal 600 --sat2-min 12", R"({"sat1_deg": "13", "sat2_deg": "19"})"
                                                     "\n{}\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string(ExampleJson) + R"({"message":"НЕТ КООРДИНАТ (1) "})"
                                                  "\n");
}

// The plan's JSON as a batch line gives it: without the sun, which only a single plan searches.
std::string WithoutSun(std::string json) {
    const std::size_t sun = json.find(",\"sun\":[");
    return sun == std::string::npos ? json : json.erase(sun, json.rfind('}') - sun);
}

constexpr const char* PlanExample =
    "plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19:12 --focal 600 --date 2026-12-07";

TEST(TarvexCalcPlan, TableForTheInstaller) {
    const CalcRun run = RunCalc(PlanExample, "", "", "", "TZ=EET-2EEST,M3.5.0/3,M10.5.0/4 ");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Точный план конверторов; антенна наведена на спутник 1\n"
              "Место 35.4615° в.д., 32.8083° с.ш.; дата 2026-12-07\n"
              "                            Конвертор 1                Конвертор 2\n"
              "Спутник                     13.0° в.д.                 19.2° в.д.\n"
              "Азимут истинный             217.4°                     208.3°\n"
              "Азимут по компасу           212.3°                     203.2°\n"
              "Угол места                  44.8°                      48.0°\n"
              "От оси антенны              0.00°                      7.00°\n"
              "Поворот                     30.8° по часовой           30.2° по часовой\n"
              "Поворот от конвертора 1     —                          0.6° против часовой\n"
              "Сдвиг по горизонтали        —                          63.6 мм вправо\n"
              "Сдвиг по вертикали          —                          37.1 мм вниз\n"
              "Расстояние от конвертора 1  —                          73.7 мм\n"
              "Линия от конвертора 1       —                          вправо и вниз, под 30° к "
              "горизонтали\n"
              "Солнце на азимуте спутника  13:57 UTC+2, высота 24.4°  13:16 UTC+2, высота 29.0°\n"
              "Вид сзади антенны: вправо, вниз и «по часовой» — как видно, стоя за антенной.\n"
              "Поворот: 0° — разъём конвертора смотрит вниз.\n"
              "Солнце вместо компаса: в это время антенна смотрит в сторону солнца, а тень "
              "вертикального шеста указывает точно от спутника.\n"
              "Магнитное склонение 5.1° к востоку; коэффициент отклонения луча 1.000\n"
              "Антенна прямофокусная: фокусное расстояние 600.0 мм, диаметр не задан\n"
              "Наклон зеркала 44.8° назад от вертикали; ось конвертора 1 к зеркалу 44.8° вниз от "
              "горизонтали\n"
              "Повернуть к центру зеркала: конвертор 2 на 7.0°\n"
              "Внимание! Диаметр антенны не задан: смещения конверторов могут выйти короче нужного "
              "примерно на пятую часть. Задайте диаметр антенны.\n");
}

// The options and a batch line give the same object; bad lines and refused set-ups answer with
// an error line and the run goes on.
TEST(TarvexCalcPlan, JsonThroughOptionsAndBatchAlike) {
    const CalcRun single =
        RunCalc(std::string(PlanExample) + " --diameter 1000 --optics off --json");
    EXPECT_EQ(single.status, 0);
    EXPECT_NE(single.out.find(R"("right_mm":70.37298712472179,)"), std::string::npos);
    const CalcRun offset = RunCalc(
        "plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19:12 --date 2026-12-07 "
        "--dish offset --width 800 --height 883 --depth 79 --json");
    EXPECT_EQ(offset.status, 0);
    EXPECT_NE(offset.out.find(R"("effective_focal_mm":558.8607594936709,"aperture_mm":800.0,)"),
              std::string::npos);
    const CalcRun batch =
        RunCalc("plan --batch", R"({"lon":"35:27.69","lat":32.808333333333333,"sats":[13,"19:12"],)"
                                R"("focal_mm":"600","diameter_mm":1000,"date":"2026-12-07",)"
                                R"("optics":"off"})"
                                "\n{\"lon\": 35\n"
                                R"({"lon":35,"lat":32,"sats":[13,19],"focal_mm":600,"f":1})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,19],"focal_mm":0})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,true],"focal_mm":600})"
                                "\n"
                                R"({"lat":32,"sats":[13,19],"focal_mm":600})"
                                "\n"
                                R"({"lon":35,"lat":32,"lon":35,"sats":[13,19],"focal_mm":600})"
                                "\n"
                                R"({"lon":1e400,"lat":32,"sats":[13,19],"focal_mm":600})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,-1e400],"focal_mm":600})"
                                "\n"
                                R"({"lon":"35:27.69","lat":32.808333333333333,"sats":[13,"19:12"],)"
                                R"("dish":"offset","width_mm":800,"height_mm":"883","depth_mm":79,)"
                                R"("date":"2026-12-07"})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,19],"dish":"round"})");
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.out,
              WithoutSun(single.out) +
                  R"({"error":"line 2: not valid JSON"})"
                  "\n"
                  R"({"error":"line 3: unknown key \"f\""})"
                  "\n"
                  R"({"error":"line 4: Фокусное расстояние должно быть конечным числом больше 0, )"
                  R"(задано 0."})"
                  "\n"
                  R"({"error":"line 5: the value of an element of \"sats\" is not a number"})"
                  "\n"
                  R"({"error":"line 6: missing \"lon\""})"
                  "\n"
                  R"({"error":"line 7: the key \"lon\" is given twice"})"
                  "\n"
                  R"({"error":"line 8: the value of \"lon\" is a number out of range"})"
                  "\n"
                  R"({"error":"line 9: the value of an element of \"sats\" is a number out of )"
                  R"(range"})"
                  "\n" +
                  WithoutSun(offset.out) +
                  R"({"error":"line 11: the value of \"dish\" is not \"prime\" or \"offset\""})"
                  "\n");
}

// The worked example on the 80 cm offset dish against the optics' published figures: feed 2 at
// 63.08 mm right, 36.40 mm down, 72.83 mm, 2.21 dB (the formula: 74.05 mm); feed 1 38.79 dBi,
// efficiency 78.7 %. With the optics off none of their keys; a band out of range is refused.
TEST(TarvexCalcPlan, OpticsFiguresInTheJson) {
    const std::string offset =
        "plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19:12 --date 2026-12-07 "
        "--dish offset --width 800 --height 883 --depth 79";
    const CalcRun on = RunCalc(offset + " --json");
    ASSERT_EQ(on.status, 0);
    const nlohmann::json plan = nlohmann::json::parse(on.out);
    const nlohmann::json& feed = plan["feeds"][1];
    EXPECT_NEAR(feed["right_mm"].get<double>(), 63.08, 0.3);
    EXPECT_NEAR(feed["up_mm"].get<double>(), -36.40, 0.3);
    EXPECT_NEAR(feed["distance_mm"].get<double>(), 72.83, 0.3);
    EXPECT_NEAR(feed["loss_db"].get<double>(), 2.21, 0.1);
    EXPECT_NEAR(feed["formula"]["distance_mm"].get<double>(), 74.05, 0.3);
    EXPECT_EQ(feed["beam"], "clean");
    EXPECT_NEAR(plan["dish"]["optics"]["gain_dbi"].get<double>(), 38.79, 0.05);
    EXPECT_NEAR(plan["dish"]["optics"]["efficiency"].get<double>(), 0.787, 0.005);
    EXPECT_EQ(plan["focus"].size(), 2u);
    EXPECT_NEAR(plan["focus"][0]["worst_loss_db"].get<double>(), 2.21, 0.1);
    EXPECT_TRUE(plan["best_focus_sat"].is_number());

    const nlohmann::json off = nlohmann::json::parse(RunCalc(offset + " --optics off --json").out);
    EXPECT_FALSE(off["feeds"][1].contains("loss_db"));
    EXPECT_TRUE(off["dish"]["optics"].is_null());
    EXPECT_TRUE(off["best_focus_sat"].is_null());

    const CalcRun band = RunCalc(offset + " --freq 50");
    EXPECT_EQ(band.status, 1);
    EXPECT_NE(band.err.find("от 1 до 40 ГГц, задано 50"), std::string::npos) << band.err;
}

// The set-up's options are the defaults of the lines that lack their keys; a satellite typed -0
// is echoed as 0.
// A prime-focus dish by its diameter and f/D plans as by F = f/D x D; a job's texts (the
// customer, a note) go with a batch line and change nothing.
TEST(TarvexCalcPlan, FOverDAndAJobsTexts) {
    const std::string site =
        "plan --lon 35.4615 --lat 32.808333 --sat 13 --sat 19.2 --date "
        "2026-12-07 --diameter 1000 --json ";
    const CalcRun by_focal = RunCalc(site + "--focal 600");
    ASSERT_EQ(by_focal.status, 0);
    EXPECT_EQ(RunCalc(site + "--f-over-d 0.6").out, by_focal.out);
    const CalcRun job = RunCalc(
        "plan --batch", R"({"lon":35.4615,"lat":32.808333,"sats":[13,19.2],"date":"2026-12-07",)"
                        R"("diameter_mm":1000,"f_over_d":"0,6","customer":"Иванов","note":""})"
                        "\n"
                        R"({"lon":35.4615,"lat":32.808333,"sats":[13,19.2],"f_over_d":0.6})"
                        "\n"
                        R"({"lon":35.4615,"lat":32.808333,"sats":[13,19.2],"note":1})");
    EXPECT_EQ(job.out,
              WithoutSun(by_focal.out) +
                  R"({"error":"line 2: Отношение f/D задано без диаметра антенны: фокусное )"
                  R"(расстояние по f/D находят только вместе с диаметром."})"
                  "\n"
                  R"({"error":"line 3: the value of \"note\" is not a string"})"
                  "\n");
}

TEST(TarvexCalcPlan, BatchTakesAbsentKeysFromTheOptions) {
    const CalcRun single = RunCalc(std::string(PlanExample) + " --diameter 1000 --json");
    const CalcRun batch = RunCalc(
        "plan --batch --lon 35:27.69 --lat 32:48.5 --sat 1 --focal 600 --diameter 1000 "
        "--date 2026-12-07",
        R"({"sats":[13,"19:12"]})"
        "\n"
        R"({"lon":35,"lat":32,"sats":[-0,19],"diameter_mm":"+1000","date":"2026-12-07"})");
    EXPECT_EQ(batch.status, 0);
    EXPECT_EQ(batch.out.substr(0, batch.out.find('\n') + 1), WithoutSun(single.out));
    EXPECT_NE(batch.out.find(R"("feeds":[{"sat":0.0,)"), std::string::npos) << batch.out;
}

// The sun at each satellite's azimuth against tests/planning/sun_reference.py's times (its own
// formulas and scan) within 15 s; local time where TZ gives a zone, null where none is known, and
// null for a satellite the sun does not reach that day (London in December: 60 E at 114.2).
TEST(TarvexCalcPlan, SunAtEachSatellitesAzimuth) {
    struct Row {
        const char* zone;  // the shell's TZ assignment
        const char* arguments;
        double satellites[2];
        std::optional<double> times[2];  // the reference's instants, or none
        const char* offset;              // local's ending, "" for null
    };
    const Row rows[] = {
        {"TZ=EET-2EEST,M3.5.0/3,M10.5.0/4 ",
         PlanExample,
         {13, 19.2},
         {1796644607.1, 1796642186.8},
         "+02:00"},
        {"TZ= ",
         "plan --lon -0.1 --lat 51.5 --sat 60 --sat 28.2 --focal 600 --date 2026-12-21",
         {60, 28.2},
         {std::nullopt, 1797845249.4},
         ""}};
    // "2026-12-07T13:56:48+02:00" -> 1796644608
    const auto instant = [](const std::string& text) {
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, oh = 0, om = 0;
        char sign = 'Z';
        std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d%c%d:%d", &y, &mo, &d, &h, &mi, &s, &sign, &oh,
                    &om);
        using namespace std::chrono;
        const auto day = sys_days(year(y) / mo / d).time_since_epoch();
        const long offset = (sign == '-' ? -1 : sign == '+' ? 1 : 0) * (oh * 3600 + om * 60);
        return duration_cast<seconds>(day).count() + h * 3600 + mi * 60 + s - offset;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CalcRun run = RunCalc(std::string(row.arguments) + " --json", "", "", "", row.zone);
        const nlohmann::json sun = nlohmann::json::parse(run.out).at("sun");
        ASSERT_EQ(sun.size(), 2u);
        for (std::size_t k = 0; k < sun.size(); ++k) {
            ASSERT_EQ(sun[k].is_null(), !row.times[k]);
            if (!row.times[k]) {
                continue;
            }
            const auto utc = sun[k].at("utc").get<std::string>();
            EXPECT_TRUE(utc.ends_with('Z')) << utc;
            EXPECT_NEAR(instant(utc), *row.times[k], 15);
            EXPECT_EQ(sun[k].at("sat").get<double>(), row.satellites[k]);
            if (*row.offset == '\0') {
                EXPECT_TRUE(sun[k].at("local").is_null());
            } else {
                const auto local = sun[k].at("local").get<std::string>();
                EXPECT_TRUE(local.ends_with(row.offset)) << local;
                EXPECT_EQ(instant(local), instant(utc));
            }
        }
    }
}

// Hostile lines are answered like any other and the run goes on: a value nested deeper than a
// stack would hold, and lines of 100 000 keys, each read in time in proportion to its length (the
// time limit only guards against a run that would take minutes).
TEST(TarvexCalcPlan, HostileLinesAreAnsweredAndTheRunGoesOn) {
    const std::string deep = std::string(50'000, '[') + std::string(50'000, ']');
    std::string keys;
    for (int key = 0; key < 100'000; ++key) {
        keys += (key == 0 ? "{\"" : ",\"") + std::to_string(key) + "\":1";
    }
    std::string input = "{\"a\":" + deep + ",\"b\":1}\n{\"sats\":" + deep + "}\n";
    std::string expected = R"({"error":"line 1: unknown key \"a\""})"
                           "\n"
                           R"({"error":"line 2: the value of an element of \"sats\" is not a )"
                           R"(number"})"
                           "\n";
    for (int line = 3; line <= 10; ++line) {
        input += keys + "}\n";
        expected += R"({"error":"line )" + std::to_string(line) + R"(: unknown key \"0\""})" + "\n";
    }
    const CalcRun run = RunCalc("plan --batch", input, "", "", "timeout 20 ");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, expected);
}

// Angles at the edges of their ranges: a satellite due north is at azimuth 0, never 360; a feed
// a hair below straight left is at a tilt of 180, never -180. The forms a user types are read.
TEST(TarvexCalcPlan, AnglesStayInTheirRanges) {
    const std::pair<const char*, const char*> rows[] = {
        {"--lon -179 --lat -30 --sat -179 --sat -176 --focal 600", R"("azimuth_deg":0.0,)"},
        {"--lon 0 --lat 1e-12 --sat 0 --sat 10 --focal 600", R"("tilt_deg":180.0,)"},
        {"--lon 35°27′41.4″E --lat 32:48.5N --sat 13 --sat 19.2 --focal +600",
         R"("right_mm":63.64019828806114,)"},
    };
    for (const auto& [arguments, expected] : rows) {
        SCOPED_TRACE(arguments);
        const CalcRun run = RunCalc(std::string("plan --date 07.12.2026 --json ") + arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    }
}

TEST(TarvexCalcPlan, RefusalsAndUsage) {
    const std::pair<const char*, int> rows[] = {
        {"plan --lon 35 --lat 32 --sat 13 --focal 600", 1},
        {"plan --lon 35 --lat 95 --sat 13 --sat 19 --focal 600", 1},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --focal 600 --date 2026-02-30", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19", 64},
        {"plan --lon east --lat 32 --sat 13 --sat 19 --focal 600", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --focal 600 --json --batch", 64},
        // The calculation's options before "plan" would be ignored.
        {"--json plan --lon 35 --lat 32 --sat 13 --sat 19 --focal 600", 64},
        {"--focal 600 plan --batch", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --diameter 1000", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --dish round --focal 600", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --dish offset --width 800 --height 883", 1},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --sat 373 --focal 600", 1},
        {"plan --lon 35 --lat 32E --sat 13 --sat 19 --focal 600", 64},
    };
    for (const auto& [arguments, status] : rows) {
        SCOPED_TRACE(arguments);
        const CalcRun run = RunCalc(arguments);
        EXPECT_EQ(run.status, status);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

// Names stand for what they name: a plan by town and satellite names equals the one by numbers,
// and what names nothing or several things is refused with them.
TEST(TarvexCalcPlan, NamesForSatellitesPlacesAndSites) {
    const std::string numbers = "--sat 36.1 --sat 13 --focal 600 --date 2026-12-07";
    const std::string names = "--sat 'express amu1' --sat hotbird --focal 600 --date 2026-12-07";
    const CalcRun by_numbers = RunCalc("plan --lon 60.6122 --lat 56.8519 " + numbers);
    const CalcRun by_place = RunCalc("plan --place Екатеринбург " + names);
    EXPECT_EQ(by_place.status, 0);
    std::string expected = by_numbers.out;
    const std::string site = "Место 60.6122° в.д., 56.8519° с.ш.;";
    ASSERT_NE(expected.find(site), std::string::npos) << expected;
    expected.replace(expected.find(site), site.size(),
                     "Место Екатеринбург, Свердловская область, Россия (60.6122° в.д., "
                     "56.8519° с.ш.);");
    EXPECT_EQ(by_place.out, expected);
    const CalcRun json = RunCalc("plan --place yekaterinburg --json " + names);
    EXPECT_TRUE(json.out.starts_with(
        R"({"place":{"name":"Екатеринбург","region":"Свердловская область",)"
        R"("country":"Россия","latin_name":"Yekaterinburg","lat":56.8519,"lon":60.6122,)"
        R"("population":1349772},"beam_deviation_factor":1.0,)"))
        << json.out;
    EXPECT_EQ(RunCalc("plan --site '56.8519 с.ш. 60.6122 в.д.' " + names).out, by_numbers.out);
    EXPECT_EQ(
        RunCalc("plan --batch", R"({"lon":60.6122,"lat":56.8519,"sats":["Express-AMU1","hotbird"],)"
                                R"("focal_mm":600,"date":"2026-12-07"})")
            .out,
        WithoutSun(RunCalc("plan --lon 60.6122 --lat 56.8519 --json " + numbers).out));

    struct Refused {
        std::string arguments;
        const char* reason;
    };
    const Refused refused[] = {
        {"plan --place Екатеринбург --lon 60 " + names, "--lon excludes --place"},
        {"plan --site '1,5,2' " + names, "1, 5.2 or 1.5, 2"},
        {"plan --place Xyzzyx " + names, "no town is named \"Xyzzyx\""},
        // In one line, whatever the text holds.
        {"plan --place \"$(printf 'Ана\\nдырь\\033[2J')\" " + names,
         "no town is named \"Ана\\nдырь\\u001b[2J\" (tarvex-calc places TEXT finds them)\n"},
        {"plan --lon 60 --lat 56 --sat \"$(printf 'zz\\nzz')\" --sat 13 --focal 600",
         "no satellite is named \"zz\\nzz\" (tarvex-calc satellites lists them)\n"},
        {"plan --lon \"$(printf -- '-4:30W\\nx')\" --lat 56 --sat 13 --sat 19 --focal 600",
         "not an angle: \"-4:30W\\nx\"\n"},
        {"plan --lon 60 --lat 56 --sat astra --sat 13 --focal 600",
         "19.2E (Astra, Astra 1KR, Astra 1L, Astra 1M, Astra 1N); 23.5E"},
    };
    for (const Refused& row : refused) {
        SCOPED_TRACE(row.arguments);
        const CalcRun run = RunCalc(row.arguments);
        EXPECT_EQ(run.status, 64);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(row.reason), std::string::npos) << run.err;
    }
}

TEST(TarvexCalc, ListsSatellitesAndPlaces) {
    const std::pair<const char*, const char*> rows[] = {
        {"satellites amu", "36.1° в.д. — Express AMU1\n"},
        {"satellites 'yamal 40' --json",
         R"({"positions":[{"lon":54.9,"names":["Yamal 402"]},{"lon":90.0,"names":["Yamal201","Yamal 401"]}]})"
         "\n"},
        {"places 'Екатеринбург'",
         "56.8519° с.ш., 60.6122° в.д.  Екатеринбург, Свердловская область, Россия\n"},
    };
    for (const auto& [arguments, out] : rows) {
        SCOPED_TRACE(arguments);
        const CalcRun run = RunCalc(arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, out);
    }
    EXPECT_EQ(RunCalc("places Xyzzyx").status, 1);
    EXPECT_EQ(RunCalc("places").status, 64);
}

// Input not read to its end or answers not delivered: exit 74 with the reason, and the batch
// stops at its first failed write even when its input never ends.
TEST(TarvexCalc, UnreadInputOrUndeliveredOutputIsNoSuccess) {
    struct Row {
        const char* arguments;
        const char* out;
        const char* feed;
        const char* err;
    };
    const Row rows[] = {
        {"--sat1-deg 13 --sat2-deg 19 --focal 600", "/dev/full", "",
         "tarvex-calc: cannot write the standard output\n"},
        {"--help", "/dev/full", "", "tarvex-calc: cannot write the standard output\n"},
        {"--batch", "/dev/full", "echo '{}'",
         "tarvex-calc: cannot write the standard output: No space left on device\n"},
        {"--batch", "/dev/full", "yes '{}'",
         "tarvex-calc: cannot write the standard output: No space left on device\n"},
        {"--batch < /", "", "true",
         "tarvex-calc: cannot read the standard input: Is a directory\n"},
        {"plan --batch", "/dev/full", "yes '{}'",
         "tarvex-calc: cannot write the standard output: No space left on device\n"},
        {"plan --batch < /", "", "true",
         "tarvex-calc: cannot read the standard input: Is a directory\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.feed) + " | " + row.arguments + " > " + row.out);
        const CalcRun run = RunCalc(row.arguments, "", row.out, row.feed);
        EXPECT_EQ(run.status, 74);
        EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
    }
}

}  // namespace
