// End-to-end runs of the real tarvex-calc binary.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
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
// whose output is the standard input instead.
CalcRun RunCalc(const std::string& arguments, const std::string& input = "",
                const std::string& out = "", const std::string& feed = "") {
    const fs::path folder = fs::temp_directory_path() / ("tarvex_calc_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "in", std::ios::binary) << input;
    const std::string source = feed.empty() ? "" : feed + " | ";
    const std::string in = feed.empty() ? " < '" + (folder / "in").string() + "'" : "";
    const std::string command = source + "'" + TARVEX_CALC + "' " + arguments + in + " > '" +
                                (out.empty() ? (folder / "out").string() : out) + "' 2> '" +
                                (folder / "err").string() + "'";
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
        R"({"sat1_deg": "13", "sat2_deg": "19", "sat2_min": "12", "focal": "1e999"})";
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

constexpr const char* PlanExample =
    "plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19:12 --focal 600 --date 2026-12-07";

TEST(TarvexCalcPlan, TableForTheInstaller) {
    const CalcRun run = RunCalc(PlanExample);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Точный план облучателей, вид сзади антенны; антенна наведена на спутник 1\n"
              "                        Облучатель 1          Облучатель 2\n"
              "Спутник                 13.0° в.д.            19.2° в.д.\n"
              "Азимут истинный         217.4°                208.3°\n"
              "Азимут по компасу       212.3°                203.2°\n"
              "Угол места              44.8°                 48.0°\n"
              "От оси антенны          0.00°                 7.00°\n"
              "Поворот                 30.8° по часовой      30.2° по часовой\n"
              "Поворот от облучателя 1 0°                    0.6° против часовой\n"
              "Сдвиг по горизонтали    0 мм                  63.6 мм вправо\n"
              "Сдвиг по вертикали      0 мм                  37.1 мм вниз\n"
              "Расстояние              0.0 мм                73.7 мм\n"
              "Наклон линии от 1       0.0°                  -30.2°\n"
              "Магнитное склонение 5.1° к востоку; коэффициент отклонения луча 1.000\n");
}

// The options and a batch line give the same object; bad lines and refused set-ups answer with
// an error line and the run goes on.
TEST(TarvexCalcPlan, JsonThroughOptionsAndBatchAlike) {
    const CalcRun single = RunCalc(std::string(PlanExample) + " --diameter 1000 --json");
    EXPECT_EQ(single.status, 0);
    EXPECT_NE(single.out.find(R"("right_mm":70.37298712472179,)"), std::string::npos);
    const CalcRun batch =
        RunCalc("plan --batch", R"({"lon":"35:27.69","lat":32.808333333333333,"sats":[13,"19:12"],)"
                                R"("focal_mm":"600","diameter_mm":1000,"date":"2026-12-07"})"
                                "\n{\"lon\": 35\n"
                                R"({"lon":35,"lat":32,"sats":[13,19],"focal_mm":600,"f":1})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,19],"focal_mm":0})"
                                "\n"
                                R"({"lon":35,"lat":32,"sats":[13,true],"focal_mm":600})"
                                "\n"
                                R"({"lat":32,"sats":[13,19],"focal_mm":600})");
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.out,
              single.out +
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
                  "\n");
}

TEST(TarvexCalcPlan, RefusalsAndUsage) {
    const std::pair<const char*, int> rows[] = {
        {"plan --lon 35 --lat 32 --sat 13 --focal 600", 1},
        {"plan --lon 35 --lat 95 --sat 13 --sat 19 --focal 600", 1},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --focal 600 --date 2026-02-30", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19", 64},
        {"plan --lon east --lat 32 --sat 13 --sat 19 --focal 600", 64},
        {"plan --lon 35 --lat 32 --sat 13 --sat 19 --focal 600 --json --batch", 64},
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
    EXPECT_EQ(by_place.out,
              "Место: Екатеринбург, Свердловская область, Россия; 56.8519° с.ш., 60.6122° в.д.\n" +
                  by_numbers.out);
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
        RunCalc("plan --lon 60.6122 --lat 56.8519 --json " + numbers).out);

    struct Refused {
        std::string arguments;
        const char* reason;
    };
    const Refused refused[] = {
        {"plan --place Екатеринбург --lon 60 " + names, "--lon excludes --place"},
        {"plan --site '1,5,2' " + names, "1, 5.2 or 1.5, 2"},
        {"plan --place Xyzzyx " + names, "no town is named \"Xyzzyx\""},
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
