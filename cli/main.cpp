// tarvex-calc: the main window's calculation without a window, for installers and tools.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "cli/batch.h"
#include "cli/calculator.h"

namespace {

constexpr int BadUsage = 64;
constexpr int OutputFailed = 74;

constexpr const char* Description =
    "Computes what START in the main window shows for a multifeed dish: azimuth (ALFA) and\n"
    "elevation (BETA) of both satellites, the rotation angle of the second feed and its offsets\n"
    "from the first feed. Each calculation runs as the first START in a freshly opened window.\n"
    "Texts are taken exactly as typed in the window's fields; a text that is not a number\n"
    "counts as 0, an empty satellite or focal length stops with the window's message.\n";

constexpr const char* Footer =
    "Examples:\n"
    "  tarvex-calc --sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600\n"
    "  tarvex-calc --sat1-deg 13 --sat2-deg 19 --sat2-min 12 --focal 600 --json\n"
    "  echo '{\"sat1_deg\": \"13\", \"sat2_deg\": \"19\", \"sat2_min\": \"12\", \"focal\": "
    "\"600\"}'"
    " | tarvex-calc --batch\n"
    "\n"
    "JSON keys, each present only when it applies: azimuth1, elevation1, azimuth2, elevation2,\n"
    "rotation, vertical_offset, horizontal_offset (the field texts, leading blank included),\n"
    "message (the validation message), error (the run-time error), results_line (the line the\n"
    "results file would receive).\n"
    "\n"
    "Exit status: 0 the calculation ran to one of its ends; 1 a validation message stopped it;\n"
    "2 a run-time error stopped it; 64 bad usage; 74 the output could not be written. With\n"
    "--batch: 0, or 1 when an input line was rejected.";

constexpr const char* JsonHelp =
    "Print one JSON object instead of the labelled fields.\n"
    "Example: --sat1-deg 13 --sat2-deg 19 --focal 600 --json";

constexpr const char* BatchHelp =
    "Read JSON Lines from standard input and write one JSON\n"
    "object per line, in order. Keys: site_lon_deg,\n"
    "site_lon_min, site_lat_deg, site_lat_min, sat1_deg,\n"
    "sat1_min, sat2_deg, sat2_min, focal, string values; an\n"
    "absent key takes its default, or its option's text when\n"
    "given on the command line. A line that is not such an\n"
    "object gives {\"error\": \"line N: ...\"}.\n"
    "Example: echo '{\"sat1_deg\": \"13\", \"sat2_deg\": \"19\",\n"
    "  \"focal\": \"600\"}' | tarvex-calc --batch";

int RunSingle(const tarvex::CalculationInputs& inputs, bool json) {
    const tarvex::CalculationOutcome outcome = tarvex::Calculate(inputs);
    if (json) {
        std::cout << tarvex::OutcomeJson(outcome) << '\n';
    } else {
        std::cout << tarvex::OutcomeText(outcome) << std::flush;
        if (outcome.ending == tarvex::Ending::Error) {
            std::cerr << "tarvex-calc: run-time error: " << outcome.error << '\n';
        }
    }
    return tarvex::ExitStatusOf(outcome);
}

// Results that never reached their reader must not end as a success (a full disk, a closed pipe).
int CheckedStatus(int status) {
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::cerr << "tarvex-calc: cannot write the standard output\n";
        return OutputFailed;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(Description, "tarvex-calc");
    app.footer(Footer);
    app.get_formatter()->column_width(24);

    tarvex::CalculationInputs inputs = tarvex::DefaultInputs();
    for (std::size_t i = 0; i < tarvex::InputCount; ++i) {
        const tarvex::InputField& input = tarvex::InputFields[i];
        app.add_option(tarvex::SpecOf(input.field).option, inputs[i], tarvex::InputHelp(input))
            ->option_text("TEXT");
    }
    bool json = false;
    bool batch = false;
    app.add_flag("--json", json, JsonHelp);
    app.add_flag("--batch", batch, BatchHelp);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return BadUsage;
    }

    if (batch) {
        std::ios::sync_with_stdio(false);
        return CheckedStatus(tarvex::RunBatch(std::cin, stdout, inputs) ? 0 : 1);
    }
    return CheckedStatus(RunSingle(inputs, json));
}
