// tarvex-calc: the main window's calculation without a window, for installers and tools.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/calculator.h"
#include "cli/names_command.h"
#include "conversions/float_chars.h"
#include "conversions/text.h"
#include "plan_io/plan_batch.h"
#include "plan_io/satellite_longitude.h"
#include "plan_text/plan_text.h"
#include "plan_text/problem_text.h"
#include "planning/plan_inputs.h"
#include "planning/plan_sun.h"
#include "planning/today.h"
#include "planning/typed_input.h"

namespace {

constexpr int BadUsage = 64;
constexpr int InputOutputFailed = 74;

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
    "2 a run-time error stopped it; 64 bad usage; 74 the input could not be read or the output\n"
    "could not be written (the run stops at the first failed write). With --batch: 0, or 1 when\n"
    "an input line was rejected. An option written --name= has the empty text as its value.";

constexpr const char* JsonHelp =
    "Print one JSON object instead of the labelled fields.\n"
    "Example: --sat1-deg 13 --sat2-deg 19 --focal 600 --json";

constexpr const char* BatchHelp =
    "Read JSON Lines from standard input and write one JSON\n"
    "object per line, in order. Keys: site_lon_deg,\n"
    "site_lon_min, site_lat_deg, site_lat_min, sat1_deg,\n"
    "sat1_min, sat2_deg, sat2_min, focal, string values, each\n"
    "key once; an absent key takes its default, or its\n"
    "option's text when given on the command line. A line\n"
    "that is not such an object gives {\"error\": \"line N: ...\"}.\n"
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

constexpr const char* PlanDescription =
    "The precise multifeed plan: where each feed of one dish goes for two to four satellites,\n"
    "from the angles between the lines of sight (WGS84, geostationary orbit), with the beam\n"
    "deviation of the dish, each feed's rotation and the compass azimuths (WMM2025). Offsets\n"
    "and rotations are seen from behind the dish, from feed 1's centre.\n"
    "Angles: decimal degrees or degrees:minutes, east and north positive (-4:30 is 4 30' W),\n"
    "or degrees, minutes and seconds with a hemisphere (35°27'41\"E, 32:48.5N, 4.5 з.д.).\n"
    "Dates: YYYY-MM-DD or DD.MM.YYYY.\n"
    "\n"
    "The dish, in millimetres. Prime focus (the default): --focal, or --diameter and --depth\n"
    "(at the centre, under a straightedge across the rim); give --diameter in any case, or the\n"
    "offsets may come out up to a fifth short. Offset (feed arm below): --width (across the\n"
    "rim) and one of --height with --feed-distance (horn mouth to the reflector's centre),\n"
    "--height with --depth (greatest depth under a straightedge from rim top to rim bottom), or\n"
    "--rim-low with --rim-high (horn mouth to the rim's lowest and highest points; --height\n"
    "then only checks them). An offset dish's feeds go in the plane square to feed 1's axis,\n"
    "\"up\" along it.\n";

constexpr const char* PlanFooter =
    "Examples:\n"
    "  tarvex-calc plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19.2 --focal 600\n"
    "  tarvex-calc plan --lon 35.4615 --lat 32.808333 --sat 13 --sat 19.2 --focal 600 "
    "--diameter 1000 --json\n"
    "  tarvex-calc plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19.2 --dish offset "
    "--width 800 --height 883 --depth 79\n"
    "  tarvex-calc plan --lon 35:27.69 --lat 32:48.5 --sat 13 --sat 19.2 --dish prime "
    "--diameter 1000 --depth 104\n"
    "  tarvex-calc plan --place Екатеринбург --sat 'express amu1' --sat 'yamal 401' --focal 600\n"
    "  tarvex-calc plan --site '55.7558, 37.6173' --sat 36.1 --sat 40 --focal 600\n"
    "  echo '@BATCH_EXAMPLE@' | tarvex-calc plan --batch\n"
    "\n"
    "JSON: place (with --place: name, region, country, latin_name, lat, lon, population),\n"
    "beam_deviation_factor, declination_deg, dish (type, focal_mm, effective_focal_mm,\n"
    "aperture_mm, offset_angle_deg, f_over_d, face_tilt_deg, feed_axis_elevation_deg),\n"
    "feeds (sat, azimuth_deg, magnetic_azimuth_deg, elevation_deg, separation_deg, right_mm,\n"
    "up_mm, distance_mm, tilt_deg, rotation_deg, relative_rotation_deg, aim_deg), warnings\n"
    "(code, feed, message). face_tilt_deg: the rim's plane from vertical, + facing up;\n"
    "feed_axis_elevation_deg: feed 1's axis toward the dish, + rising; aim_deg: how far a feed\n"
    "turns toward the reflector's centre. aperture_mm and f_over_d are null when not known.\n"
    "sun (per satellite: sat, utc, local, elevation_deg; null when the sun does not stand at its\n"
    "azimuth that day; not with --batch): when the sun is at the satellite's true azimuth on the\n"
    "date, or, for today, the next such time; local (with its offset) is null unless TZ or\n"
    "/etc/localtime gives the time zone.\n"
    "\n"
    "Exit status: 0 a plan; 1 the set-up was refused (the reason on standard error); 64 bad\n"
    "usage; 74 the output could not be written. With --batch: 0, or 1 when a line was rejected.\n"
    "An option of the calculation before \"plan\" (tarvex-calc --json plan ...) is bad usage.";

using tarvex::Quoted;
using tarvex::planning::PlanInputId;

std::string Key(PlanInputId input) {
    return std::string(tarvex::planning::RowOf(input).key);
}

// The footer with its batch line example, in the keys of the inputs table.
std::string PlanFooterText() {
    const std::string example = "{" + Quoted(Key(PlanInputId::Longitude)) + ": 35.4615, " +
                                Quoted(Key(PlanInputId::Latitude)) + ": 32.808333, " +
                                Quoted(Key(PlanInputId::Satellites)) + ": [13, 19.2], " +
                                Quoted(Key(PlanInputId::FocalLength)) + ": 600}";
    std::string footer = PlanFooter;
    footer.replace(footer.find("@BATCH_EXAMPLE@"), 15, example);
    return footer;
}

// --batch's help, naming the keys of the inputs table.
std::string PlanBatchHelp() {
    using tarvex::planning::DishTypeWords;
    const auto key = [](PlanInputId input) { return Key(input); };
    return "Read JSON Lines from standard input and write one JSON\n"
           "object per line, in order. Keys: " +
           key(PlanInputId::Longitude) + ", " + key(PlanInputId::Latitude) + ", " +
           key(PlanInputId::Satellites) + " (an array),\n" + key(PlanInputId::FocalLength) +
           ", optional " + key(PlanInputId::Diameter) + " and " + key(PlanInputId::Date) +
           ", and for the dish\n" + key(PlanInputId::Dish) + " (" + Quoted(DishTypeWords[0]) +
           " or " + Quoted(DishTypeWords[1]) + "), " + key(PlanInputId::Depth) + ", " +
           key(PlanInputId::Width) + ",\n" + key(PlanInputId::Height) + ", " +
           key(PlanInputId::FeedDistance) + ", " + key(PlanInputId::RimLow) + ", " +
           key(PlanInputId::RimHigh) + ", " + key(PlanInputId::FOverD) + ";\n" +
           key(PlanInputId::Customer) + " and " + key(PlanInputId::Note) +
           " (texts a saved job keeps; the plan ignores them);\n"
           "numbers or texts as the options take them (" +
           key(PlanInputId::Satellites) +
           ": names\n"
           "too), each key once.\n"
           "A key a line lacks takes the value of its option when one\n"
           "is given. A line that is rejected or refused gives\n"
           "{\"error\": \"line N: ...\"}.";
}

// The plan's set-up as typed; the texts are checked as they are parsed.
struct PlanOptions {
    // Indexed by PlanInputId; the satellites are given one option each.
    std::array<std::string, tarvex::planning::PlanInputCount> texts{};
    std::vector<std::string> satellites;
    std::optional<std::string> place;
    std::optional<std::string> site;
    bool json = false;
    bool batch = false;

    std::string& Text(PlanInputId input) { return texts[static_cast<std::size_t>(input)]; }
    const std::string& Text(PlanInputId input) const {
        return texts[static_cast<std::size_t>(input)];
    }
};

template <typename Parse>
CLI::Validator TextCheck(Parse parse, const char* what) {
    return CLI::Validator(
        [parse, what](std::string& text) {
            return parse(text)
                       ? std::string()
                       : tarvex::TypedTextEnglish(what, text, tarvex::ReadAngle(text).problem);
        },
        "", what);
}

CLI::Validator SatelliteCheck() {
    return CLI::Validator(
        [](std::string& text) {
            const auto longitude = tarvex::SatelliteLongitude(text);
            const auto* problem = std::get_if<tarvex::planning::InputProblem>(&longitude);
            return problem == nullptr ? std::string() : tarvex::ProblemInEnglish(*problem);
        },
        "", "satellite");
}

// A town, or a site pasted from a map, instead of --lon and --lat. The town is looked up when
// the plan is made: the lookup costs nothing to a run that names none.
void AddSiteOptions(CLI::App& plan, PlanOptions& options) {
    CLI::Option* place =
        plan.add_option("--place", options.place,
                        "A town instead of --lon and --lat, Russian or\nLatin; the most "
                        "populous of that name")
            ->option_text("NAME");
    CLI::Option* site =
        plan.add_option("--site", options.site,
                        "Latitude and longitude as a map copies them:\n\"55.7558, 37.6173\", "
                        "\"55°45′21″N 37°37′03″E\"")
            ->option_text("TEXT")
            ->check(CLI::Validator(
                [](std::string& text) {
                    const auto site = tarvex::PastedSite(text);
                    const auto* problem = std::get_if<std::string>(&site);
                    return problem == nullptr ? std::string() : *problem;
                },
                "", "site"));
    for (CLI::Option* coordinate :
         {plan.get_option(std::string(tarvex::planning::RowOf(PlanInputId::Longitude).option)),
          plan.get_option(std::string(tarvex::planning::RowOf(PlanInputId::Latitude).option))}) {
        coordinate->excludes(place);
        coordinate->excludes(site);
    }
    place->excludes(site);
}

// What an option of the plan says in --help, and what it takes.
struct OptionWords {
    std::string help;
    std::string value;
};

OptionWords WordsOf(PlanInputId input) {
    using tarvex::planning::DishTypeWords;
    if (input == PlanInputId::Satellites) {
        return {"Satellite longitude or name, " +
                    tarvex::float_chars::WholeText(tarvex::planning::MinFeeds) + " to " +
                    tarvex::float_chars::WholeText(tarvex::planning::MaxFeeds) +
                    " times;\nthe dish points at the first",
                "ANGLE|NAME"};
    }
    if (input == PlanInputId::Dish) {
        return {"The dish's type; default " + std::string(DishTypeWords[0]),
                std::string(DishTypeWords[0]) + "|" + std::string(DishTypeWords[1])};
    }
    if (input == PlanInputId::Optics) {
        using tarvex::planning::SwitchWords;
        return {
            "Each feed placed and judged by physical optics;\noff: the formula alone, "
            "faster. Default " +
                std::string(SwitchWords[1]),
            std::string(SwitchWords[1]) + "|" + std::string(SwitchWords[0])};
    }
    // In the order of planning::PlanInputs; the two rows above made there.
    static const OptionWords Words[] = {
        {"Site longitude, east positive", "ANGLE"},
        {"Site latitude, north positive", "ANGLE"},
        {},
        {"Focal length of a prime-focus dish, mm", "MM"},
        {"Diameter of a prime-focus dish, mm, for the\nbeam deviation", "MM"},
        {"f/D of a prime-focus dish, with --diameter,\ninstead of --focal", "RATIO"},
        {"For the compass azimuths; default today (local)", "YYYY-MM-DD"},
        {},
        {"Depth under a straightedge across the rim, mm", "MM"},
        {"Offset dish: width of the rim, across, mm", "MM"},
        {"Offset dish: height of the rim, top to bottom, mm", "MM"},
        {"Offset dish: feed's horn mouth to the\nreflector's centre, mm", "MM"},
        {"Offset dish: horn mouth to the lowest point of\nthe rim, mm", "MM"},
        {"Offset dish: horn mouth to the highest point of\nthe rim, mm", "MM"},
        {"Frequency for the optics, GHz; default " +
             tarvex::ShortText(tarvex::planning::DefaultFrequencyGhz) + " (Ku: 10.7 to 12.75)",
         "GHZ"},
        {"The rim's illumination below the centre's, dB;\ndefault " +
             tarvex::ShortText(tarvex::planning::DefaultEdgeTaperDb),
         "DB"},
        {"The LNB's widest part, at its horn, mm; default\n" +
             tarvex::ShortText(tarvex::planning::DefaultLnbWidthMm),
         "MM"},
        {},
        {},
        {},
    };
    static_assert(std::size(Words) == tarvex::planning::PlanInputCount);
    return Words[static_cast<std::size_t>(input)];
}

// The check of an option's text, by the kind of its input.
CLI::Validator CheckOf(tarvex::planning::InputKind kind) {
    using tarvex::planning::InputKind;
    switch (kind) {
        case InputKind::Angle:
            return TextCheck(
                [](std::string_view text) { return tarvex::planning::ParseAngle(text); },
                "an angle");
        case InputKind::Latitude:
            return TextCheck(
                [](std::string_view text) {
                    return tarvex::planning::ParseAngle(text,
                                                        tarvex::planning::AngleKind::Latitude);
                },
                "a latitude");
        case InputKind::Satellites:
            return SatelliteCheck();
        case InputKind::Length:
        case InputKind::Ratio:
        case InputKind::Text:
        case InputKind::Number:
            return TextCheck(tarvex::planning::ParseNumber, "a number");
        case InputKind::Switch:
            return CLI::IsMember(std::vector<std::string>(std::begin(tarvex::planning::SwitchWords),
                                                          std::end(tarvex::planning::SwitchWords)));
        case InputKind::Date:
            return CLI::Validator(
                [](std::string& text) {
                    return tarvex::planning::ParseDate(text)
                               ? std::string()
                               : "not a date YYYY-MM-DD or DD.MM.YYYY: " + text;
                },
                "", "date");
        case InputKind::Choice:
            break;
    }
    return CLI::IsMember(std::vector<std::string>(std::begin(tarvex::planning::DishTypeWords),
                                                  std::end(tarvex::planning::DishTypeWords)));
}

// Each input of the table as its option, the date last; --place and --site after the latitude.
CLI::App* AddPlanCommand(CLI::App& app, PlanOptions& options) {
    CLI::App* plan = app.add_subcommand("plan", PlanDescription);
    plan->footer(PlanFooterText());
    options.Text(PlanInputId::Dish) = tarvex::planning::DishTypeWords[0];
    const auto add = [&](const tarvex::planning::PlanInputRow& row) {
        const OptionWords words = WordsOf(row.id);
        CLI::Option* option =
            row.id == PlanInputId::Satellites
                ? plan->add_option(std::string(row.option), options.satellites, words.help)
                : plan->add_option(std::string(row.option), options.Text(row.id), words.help);
        option->option_text(words.value)->check(CheckOf(row.kind));
    };
    for (const tarvex::planning::PlanInputRow& row : tarvex::planning::PlanInputs) {
        if (row.id != PlanInputId::Date && !row.option.empty()) {
            add(row);
        }
        if (row.id == PlanInputId::Latitude) {
            AddSiteOptions(*plan, options);
        }
    }
    add(tarvex::planning::RowOf(PlanInputId::Date));
    CLI::Option* json = plan->add_flag("--json", options.json, "Print one JSON object");
    plan->add_flag("--batch", options.batch, PlanBatchHelp())->excludes(json);
    return plan;
}

// The options as given; each text has passed its check. `site`: the town's or the pasted site's
// coordinates, instead of --lon and --lat.
tarvex::PlanBatchDefaults PlanDefaultsOf(
    const PlanOptions& options, const std::optional<tarvex::names::SiteCoordinates>& site) {
    using tarvex::planning::ParseAngle;
    tarvex::PlanBatchDefaults given;
    if (const std::string& text = options.Text(PlanInputId::Longitude); !text.empty()) {
        given.longitude_deg = ParseAngle(text);
    }
    if (const std::string& text = options.Text(PlanInputId::Latitude); !text.empty()) {
        given.latitude_deg = ParseAngle(text, tarvex::planning::AngleKind::Latitude);
    }
    if (site) {
        given.longitude_deg = site->longitude_deg;
        given.latitude_deg = site->latitude_deg;
    }
    for (const std::string& satellite : options.satellites) {
        given.satellites_deg.push_back(std::get<double>(tarvex::SatelliteLongitude(satellite)));
    }
    // The lengths through the members they fill.
    tarvex::planning::PlanInput lengths;
    for (const tarvex::planning::PlanInputRow& row : tarvex::planning::PlanInputs) {
        if (std::optional<double>* length = tarvex::planning::LengthOf(lengths, row.id);
            length && !options.Text(row.id).empty()) {
            *length = tarvex::planning::ParseNumber(options.Text(row.id));
        }
    }
    given.focal_length_mm = lengths.focal_length_mm;
    given.diameter_mm = lengths.diameter_mm;
    given.dish = lengths.dish;
    given.dish.type = *tarvex::planning::DishTypeOf(options.Text(PlanInputId::Dish));
    tarvex::planning::PlanInput numbers;
    for (const tarvex::planning::PlanInputRow& row : tarvex::planning::PlanInputs) {
        if (double* number = tarvex::planning::NumberOf(numbers, row.id);
            number && !options.Text(row.id).empty()) {
            *number = *tarvex::planning::ParseNumber(options.Text(row.id));
        }
    }
    given.frequency_ghz = numbers.frequency_ghz;
    given.edge_taper_db = numbers.edge_taper_db;
    given.lnb_width_mm = numbers.lnb_width_mm;
    if (const std::string& optics = options.Text(PlanInputId::Optics); !optics.empty()) {
        given.optics = *tarvex::planning::SwitchOf(optics);
    }
    const std::string& date = options.Text(PlanInputId::Date);
    given.date = date.empty() ? tarvex::planning::LocalToday() : *tarvex::planning::ParseDate(date);
    return given;
}

// The site --place or --site gives, if either; a town that is not found is bad usage.
struct SiteGiven {
    std::optional<tarvex::names::Place> place;
    std::optional<tarvex::names::SiteCoordinates> site;
    std::string problem;
};

SiteGiven SiteOf(const PlanOptions& options) {
    SiteGiven given;
    if (options.place) {
        auto named = tarvex::PlaceNamed(*options.place);
        if (const auto* problem = std::get_if<std::string>(&named)) {
            given.problem = "--place: " + *problem;
            return given;
        }
        given.place = std::get<tarvex::names::Place>(named);
        given.site =
            tarvex::names::SiteCoordinates{given.place->latitude_deg, given.place->longitude_deg};
    } else if (options.site) {
        given.site = std::get<tarvex::names::SiteCoordinates>(tarvex::PastedSite(*options.site));
    }
    return given;
}

// The set-up's site and the values its options give; none, after saying why on the standard
// error, where the site named cannot be had (bad usage).
std::optional<std::pair<SiteGiven, tarvex::PlanBatchDefaults>> SetUpOf(const PlanOptions& options) {
    SiteGiven site = SiteOf(options);
    if (!site.problem.empty()) {
        std::cerr << "tarvex-calc plan: " << site.problem << '\n';
        return std::nullopt;
    }
    tarvex::PlanBatchDefaults given = PlanDefaultsOf(options, site.site);
    return std::pair{std::move(site), std::move(given)};
}

int RunPlan(const PlanOptions& options) {
    const auto set_up = SetUpOf(options);
    if (!set_up) {
        return BadUsage;
    }
    const auto& [site, given] = *set_up;
    // An offset dish, or a prime-focus one measured by its depth or f/D, has no focal length to
    // type.
    const bool focal_needed = given.dish.type == tarvex::planning::DishType::PrimeFocus &&
                              !given.dish.depth_mm && !given.dish.f_over_d;
    if (!given.longitude_deg || !given.latitude_deg || given.satellites_deg.empty() ||
        (focal_needed && !given.focal_length_mm)) {
        const auto option = [](PlanInputId input) { return tarvex::planning::RowOf(input).option; };
        std::cerr << "tarvex-calc plan: " << option(PlanInputId::Longitude) << " and "
                  << option(PlanInputId::Latitude) << " (or --place or --site), "
                  << option(PlanInputId::Satellites) << " and " << option(PlanInputId::FocalLength)
                  << " are required (or, for the dish, " << option(PlanInputId::Diameter) << " and "
                  << option(PlanInputId::Depth) << " or " << option(PlanInputId::FOverD) << ", or "
                  << option(PlanInputId::Dish) << " " << tarvex::planning::DishTypeWords[1]
                  << " and its sizes)\nRun with --help for more information.\n";
        return BadUsage;
    }
    const tarvex::planning::PlanInput input = tarvex::PlanInputOf(given);
    const auto result = tarvex::planning::MakePlan(input);
    if (const auto* refusal = std::get_if<tarvex::planning::PlanRefusal>(&result)) {
        std::cerr << "tarvex-calc plan: " << tarvex::RefusalText(*refusal) << '\n';
        return 1;
    }
    const auto& plan = std::get<tarvex::planning::Plan>(result);
    const auto sun = tarvex::planning::SunTimes(input, plan, tarvex::planning::MachineClock());
    if (options.json) {
        std::cout << tarvex::PlanJson(plan, site.place ? &*site.place : nullptr, &sun) << '\n';
    } else {
        std::cout << tarvex::PlanText(input, plan, sun,
                                      site.place ? tarvex::names::PlaceEntry(*site.place) : "");
    }
    return 0;
}

constexpr const char* SatellitesDescription =
    "Lists the orbital positions of the compiled-in satellite list (dtv-scan-tables, 2019) with\n"
    "their names, west to east: those with a name containing TEXT or whose longitude begins with\n"
    "it (case, spaces and dashes do not count), or all. --sat takes these names. Positions\n"
    "outlive satellites, names do not: any longitude can be given instead.\n";

constexpr const char* SatellitesFooter =
    "Examples:\n"
    "  tarvex-calc satellites amu\n"
    "  tarvex-calc satellites 36 --json\n"
    "\n"
    "JSON: positions (lon, east positive; names).\n"
    "\n"
    "Exit status: 0, or 1 when none matches.";

constexpr const char* PlacesDescription =
    "Lists the towns (GeoNames data, CC-BY-4.0) a word of whose Russian or Latin name begins\n"
    "with TEXT (case, accents and ё do not count), with their latitude and longitude, most\n"
    "populous first. \"Name, region\" narrows it down. --place takes the first.\n";

constexpr const char* PlacesFooter =
    "Examples:\n"
    "  tarvex-calc places Екатеринбург\n"
    "  tarvex-calc places 'Moscow, Idaho' --json\n"
    "\n"
    "JSON: places (name, region, country: Russian where the data has them; latin_name, lat,\n"
    "lon, population).\n"
    "\n"
    "Town data: GeoNames (https://www.geonames.org), CC-BY-4.0.\n"
    "Exit status: 0, or 1 when none matches.";

struct ListOptions {
    std::string text;
    bool json = false;
};

CLI::App* AddListCommand(CLI::App& app, const char* name, const char* description,
                         const char* footer, ListOptions& options, bool text_required) {
    CLI::App* list = app.add_subcommand(name, description);
    list->footer(footer);
    CLI::Option* text = list->add_option("TEXT", options.text, "What to look for");
    if (text_required) {
        text->required();
    }
    list->add_flag("--json", options.json, "Print one JSON object");
    return list;
}

// An option of the calculation written before "plan" would be silently ignored: it is refused,
// so that "tarvex-calc --json plan ..." does not print a table where JSON was asked for.
const CLI::Option* CalculationOptionGiven(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->count() > 0) {
            return option;
        }
    }
    return nullptr;
}

// Results that never reached their reader must not end as a success (a full disk, a closed pipe).
int CheckedStatus(int status) {
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::cerr << "tarvex-calc: cannot write the standard output\n";
        return InputOutputFailed;
    }
    return status;
}

int BatchStatus(const tarvex::BatchResult& result) {
    switch (result.end) {
        case tarvex::BatchEnd::AllAccepted:
            return CheckedStatus(0);
        case tarvex::BatchEnd::SomeRejected:
            return CheckedStatus(1);
        case tarvex::BatchEnd::ReadFailed:
            std::cerr << "tarvex-calc: cannot read the standard input: "
                      << std::strerror(result.error) << '\n';
            return InputOutputFailed;
        case tarvex::BatchEnd::WriteFailed:
            break;
    }
    std::cerr << "tarvex-calc: cannot write the standard output: " << std::strerror(result.error)
              << '\n';
    return InputOutputFailed;
}

const CLI::Option* FindOption(CLI::App& app, const std::string& name) {
    if (const CLI::Option* option = app.get_option_no_throw(name)) {
        return option;
    }
    for (CLI::App* subcommand : app.get_subcommands([](CLI::App*) { return true; })) {
        if (const CLI::Option* option = FindOption(*subcommand, name)) {
            return option;
        }
    }
    return nullptr;
}

// CLI11 reads "--name=" as "--name" and takes the next argument as its value ("--focal= --json"
// would make "--json" the focal length): an option that takes a value gets the empty text
// instead, in the program and in each of its subcommands. Returns the arguments after the
// program name, last first, as CLI11 parses them.
std::vector<std::string> WithEmptyValues(CLI::App& app, int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int index = argc - 1; index > 0; --index) {
        const std::string argument = argv[index];
        const std::size_t equals = argument.find('=');
        const CLI::Option* option = argument.rfind("--", 0) == 0 && equals == argument.size() - 1
                                        ? FindOption(app, argument.substr(0, equals))
                                        : nullptr;
        if (option != nullptr && option->get_items_expected_max() > 0) {
            arguments.emplace_back();
            arguments.push_back(argument.substr(0, equals));
        } else {
            arguments.push_back(argument);
        }
    }
    return arguments;
}

int RunPlanBatch(const PlanOptions& options) {
    const auto set_up = SetUpOf(options);
    if (!set_up) {
        return BadUsage;
    }
    const tarvex::PlanBatchDefaults& defaults = set_up->second;
    return BatchStatus(tarvex::RunLines(
        STDIN_FILENO, stdout, [&defaults](std::string_view line, long line_number) {
            return tarvex::PlanBatchOutputLine(line, line_number, defaults);
        }));
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
    PlanOptions plan_options;
    const CLI::App* plan = AddPlanCommand(app, plan_options);
    ListOptions satellites_options;
    const CLI::App* satellites = AddListCommand(app, "satellites", SatellitesDescription,
                                                SatellitesFooter, satellites_options, false);
    ListOptions places_options;
    const CLI::App* places =
        AddListCommand(app, "places", PlacesDescription, PlacesFooter, places_options, true);

    try {
        app.parse(WithEmptyValues(app, argc, argv));
    } catch (const CLI::CallForHelp& help) {
        return CheckedStatus(app.exit(help));
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return BadUsage;
    }

    for (const CLI::App* subcommand : {plan, satellites, places}) {
        const CLI::Option* option = CalculationOptionGiven(app);
        if (subcommand->parsed() && option != nullptr) {
            std::cerr << "tarvex-calc: " << option->get_name()
                      << " is an option of the calculation, not of " << subcommand->get_name()
                      << "; give its options after \"" << subcommand->get_name()
                      << "\"\nRun with --help for more information.\n";
            return BadUsage;
        }
    }
    if (plan->parsed()) {
        return plan_options.batch ? RunPlanBatch(plan_options)
                                  : CheckedStatus(RunPlan(plan_options));
    }
    if (satellites->parsed()) {
        return CheckedStatus(tarvex::ListSatellites(satellites_options.text,
                                                    satellites_options.json, std::cout, std::cerr));
    }
    if (places->parsed()) {
        return CheckedStatus(
            tarvex::ListPlaces(places_options.text, places_options.json, std::cout, std::cerr));
    }
    if (batch) {
        return BatchStatus(tarvex::RunBatch(STDIN_FILENO, stdout, inputs));
    }
    return CheckedStatus(RunSingle(inputs, json));
}
