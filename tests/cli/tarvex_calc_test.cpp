// End-to-end runs of the real tarvex-calc binary.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Runs tarvex-calc with shell-quoted `arguments` and `input` on its standard input.
CalcRun RunCalc(const std::string& arguments, const std::string& input = "") {
    const fs::path folder = fs::temp_directory_path() / ("tarvex_calc_" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "in", std::ios::binary) << input;
    const std::string command = std::string("'") + TARVEX_CALC + "' " + arguments + " < '" +
                                (folder / "in").string() + "' > '" + (folder / "out").string() +
                                "' 2> '" + (folder / "err").string() + "'";
    const int raw = std::system(command.c_str());
    CalcRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadBytes(folder / "out");
    run.err = ReadBytes(folder / "err");
    fs::remove_all(folder);
    return run;
}

constexpr const char* ExampleArguments = "--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600";

constexpr const char* ExampleJson =
    R"({"azimuth1":" 217.344291652777","elevation1":" 44.8168471212995",)"
    R"("azimuth2":" 208.2955","elevation2":" 47.99485","rotation":" + 23.5",)"
    R"("vertical_offset":" 33.2649мм-->НИЖЕ","horizontal_offset":" 94.3645мм-->СПРАВА",)"
    R"("results_line":"217.344291652777,44.8168471212995\r\n"})";

TEST(TarvexCalc, JsonOfTheExample) {
    const CalcRun run = RunCalc(std::string(ExampleArguments) + " --json");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string(ExampleJson) + "\n");
    EXPECT_EQ(run.err, "");
}

TEST(TarvexCalc, LabelledFieldsOfTheExample) {
    const CalcRun run = RunCalc(ExampleArguments);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "1) BETA-угол места:         44.8168471212995\n"
              "1) ALFA-азимут:             217.344291652777\n"
              "2) BETA-угол места:         47.99485\n"
              "2) ALFA-азимут:             208.2955\n"
              "СДВИГ УГЛА ВОЗВЫШЕНИЯ:      33.2649мм-->НИЖЕ\n"
              "УГОЛ ПОВОРОТА:              + 23.5\n"
              "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ:  94.3645мм-->СПРАВА\n");
}

TEST(TarvexCalc, EndingsAndExitStatus) {
    struct Row {
        const char* arguments;
        int status;
        const char* out;
    };
    const Row rows[] = {
        {"--json", 1, "{\"message\":\"НЕТ КООРДИНАТ (1) \"}\n"},
        {"--sat1-deg 13 --sat2-deg 19 --json", 1, "{\"message\":\"НЕТ ФОКУСА АНТЕНЫ\"}\n"},
        {"--sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 1e999 --json", 2,
         R"({"azimuth1":" 217.344291652777","azimuth2":" 208.2955","rotation":" + 23.5",)"
         R"("error":"Overflow"})"
         "\n"},
        {"--site-lat-deg 1e-200 --site-lat-min '' --sat1-deg 35 --sat1-min 27.69 --sat2-deg 19 "
         "--focal 600 --json",
         0,
         R"({"azimuth1":" 180","results_line":"180,\r\n"})"
         "\n"},
        {"--site-lon-deg -4 --site-lon-min -30 --sat1-deg -5 --sat2-deg 4 --focal 600 --json", 0,
         nullptr},
        {"--sat1-deg 13 --sat2-deg 19 --focal 1e999", 2,
         "1) ALFA-азимут:             217.344291652777\n"
         "2) ALFA-азимут:             208.6055\n"
         "УГОЛ ПОВОРОТА:              + 23.7\n"},
        {"--sat1-deg", 64, ""},
        {"--bogus", 64, ""},
        {"positional", 64, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CalcRun run = RunCalc(row.arguments);
        EXPECT_EQ(run.status, row.status);
        if (row.out != nullptr) {
            EXPECT_EQ(run.out, row.out);
        }
    }
}

TEST(TarvexCalc, RunTimeErrorGoesToStandardError) {
    const CalcRun run = RunCalc("--sat1-deg 13 --sat2-deg 19 --focal 1e999");
    EXPECT_EQ(run.err, "tarvex-calc: run-time error: Overflow\n");
}

TEST(TarvexCalc, HelpExplainsEveryOptionWithAnExample) {
    const CalcRun run = RunCalc("--help");
    EXPECT_EQ(run.status, 0);
    for (const char* option :
         {"--site-lon-deg", "--site-lon-min", "--site-lat-deg", "--site-lat-min", "--sat1-deg",
          "--sat1-min", "--sat2-deg", "--sat2-min", "--focal", "--json", "--batch"}) {
        const std::size_t start = run.out.find(std::string("  ") + option + " ");
        ASSERT_NE(start, std::string::npos) << option;
        const std::string entry = run.out.substr(start, run.out.find("\n  -", start) - start);
        EXPECT_NE(entry.find("Example: "), std::string::npos) << entry;
    }
}

TEST(TarvexCalc, BatchAnswersEveryLineInOrderAndRejectsBadOnes) {
    const std::string input =
        R"({"sat1_deg": "13", "sat2_deg": "19", "sat2_min": "12", "focal": "600"})"
        "\n"
        // The same with escapes and white space of every kind.
        "\t{ \"sat1_deg\" : \"\\u0031\\u0033\",\"sat2_deg\":\"19\", \"sat2_min\":\"12\","
        "\"focal\":\"600\" }\r\n"
        "{\"sat1_deg\": \"13\"\n"
        R"({"sat1_deg": "13", "colour": "red"})"
        "\n"
        R"({"sat1_deg": 13})"
        "\n"
        R"({"sat1_deg": ["13"]})"
        "\n"
        R"(["13"])"
        "\n"
        "\n"
        R"({"sat2_deg": "19", "focal": "600"})"
        "\n"
        R"({"sat1_deg": "13", "sat2_deg": "19", "sat2_min": "12", "focal": "1e999"})";
    const CalcRun run = RunCalc("--batch", input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              std::string(ExampleJson) + "\n" + ExampleJson + "\n" +
                  R"({"error":"line 3: not valid JSON"})"
                  "\n"
                  R"({"error":"line 4: unknown key \"colour\""})"
                  "\n"
                  R"({"error":"line 5: the value of \"sat1_deg\" is not a string"})"
                  "\n"
                  R"({"error":"line 6: the value of \"sat1_deg\" is not a string"})"
                  "\n"
                  R"({"error":"line 7: not a JSON object"})"
                  "\n"
                  R"({"error":"line 8: not valid JSON"})"
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
    EXPECT_EQ(run.out, std::string(ExampleJson) +
                           "\n"
                           R"({"message":"НЕТ КООРДИНАТ (1) "})"
                           "\n");
}

TEST(TarvexCalc, UnwritableOutputIsNoSuccess) {
    struct Row {
        const char* input;
        const char* arguments;
    };
    const Row rows[] = {{"", "--sat1-deg 13 --sat2-deg 19 --focal 600"}, {"{}", "--batch"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const std::string command = std::string("echo '") + row.input + "' | '" + TARVEX_CALC +
                                    "' " + row.arguments + " > /dev/full 2> /dev/null";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), 74);
    }
}

}  // namespace
