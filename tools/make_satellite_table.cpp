// Build step: the satellite list, from the names of the files in dtv-scan-tables' dvb-s folder
// ("Express-AMU1-36.1E", "Eutelsat5_5.0W"), written as C++ to compile in. Only the file names
// are read: each carries a satellite, or two at one place, and its orbital position.
//   tarvex_make_satellite_table /usr/share/dvb/dvb-s build/names/satellite_table.cpp
// Exits 0 having written the table; 1 when the folder holds no such file or the output cannot be
// written.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Name {
    std::string shown;
    std::string key;  // lower case, letters and digits only
};

// "Express-AMU1" -> "Express AMU1"; "Galaxy13_C" -> "Galaxy13": "_C" marks a file of the
// satellite's C-band transponders, not another satellite.
std::string ShownName(std::string name) {
    if (name.size() > 2 && name.ends_with("_C")) {
        name.resize(name.size() - 2);
    }
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '-' || c == '_'; }, ' ');
    return name;
}

// Satellites sharing a position may share a file, their names glued where the first one's
// number ends. A letter or two after a number belong to it ("Astra 1KR", "Galaxy 3C",
// "Intelsat 29e"); a longer word is the next satellite's name.
//   "AzerSpace 2Intelsat 38" -> {"AzerSpace 2", "Intelsat 38"};
//   "EchoStar 105SES 11" -> {"EchoStar 105", "SES 11"};  "Astra 1KR" -> {"Astra 1KR"}
std::vector<std::string> SplitGlued(const std::string& name) {
    constexpr std::size_t ShortestName = 3;
    const auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; };
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t at = 1; at < name.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(name[at - 1])) || !letter(name[at])) {
            continue;
        }
        const auto word_end =
            std::find_if_not(name.begin() + static_cast<std::ptrdiff_t>(at), name.end(), letter);
        if (static_cast<std::size_t>(word_end - name.begin()) - at >= ShortestName) {
            names.push_back(name.substr(start, at - start));
            start = at;
        }
    }
    names.push_back(name.substr(start));
    return names;
}

std::string KeyOf(const std::string& name) {
    std::string key;
    for (const char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return key;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + '"';
}

// A file's name: the satellite's name, a dash or underscore, the position in degrees and its
// hemisphere, in tenths of a degree east positive. "Express-AMU1-36.1E" -> {"Express-AMU1", 361};
// "Eutelsat5_5.0W" -> {"Eutelsat5", -50}; "README" -> none.
std::optional<std::pair<std::string, int>> ReadFileName(const std::string& base) {
    const std::size_t cut = base.find_last_of("-_");
    if (cut == std::string::npos || cut == 0 || base.size() < cut + 3) {
        return std::nullopt;
    }
    const char hemisphere = base.back();
    const std::string number = base.substr(cut + 1, base.size() - cut - 2);
    const bool digits_and_one_point =
        std::count(number.begin(), number.end(), '.') <= 1 &&
        std::all_of(number.begin(), number.end(),
                    [](char c) { return c == '.' || (c >= '0' && c <= '9'); }) &&
        number.front() != '.' && number.back() != '.';
    if ((hemisphere != 'E' && hemisphere != 'W') || !digits_and_one_point) {
        return std::nullopt;
    }
    double degrees = 0;
    std::from_chars(number.data(), number.data() + number.size(), degrees);
    const int tenths = static_cast<int>(std::lround(degrees * 10));
    return std::pair{base.substr(0, cut), hemisphere == 'W' ? -tenths : tenths};
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Makes the compiled-in satellite list from dtv-scan-tables' file names.",
                 "tarvex_make_satellite_table");
    std::string folder;
    std::string output;
    app.add_option("folder", folder, "The dvb-s folder of dtv-scan-tables")
        ->required()
        ->check(CLI::ExistingDirectory);
    app.add_option("output", output, "The C++ file to write")->required();
    CLI11_PARSE(app, argc, argv);

    std::map<int, std::vector<Name>> positions;
    std::size_t files = 0;
    std::vector<std::string> skipped;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string base = entry.path().filename().string();
        const auto read = entry.is_regular_file() ? ReadFileName(base) : std::nullopt;
        if (!read) {
            skipped.push_back(base);
            continue;
        }
        ++files;
        for (const std::string& shown : SplitGlued(ShownName(read->first))) {
            positions[read->second].push_back({shown, KeyOf(shown)});
        }
    }
    if (files == 0) {
        std::fprintf(stderr, "tarvex_make_satellite_table: no satellite files in %s\n",
                     folder.c_str());
        return 1;
    }
    for (const std::string& base : skipped) {
        std::fprintf(stderr, "tarvex_make_satellite_table: skipped %s\n", base.c_str());
    }

    std::string rows;
    std::size_t names = 0;
    for (auto& [tenths, list] : positions) {
        // One name per key: of "ABS 2" and "ABS2" the one with more spaces reads better.
        std::sort(list.begin(), list.end(), [](const Name& a, const Name& b) {
            if (a.key != b.key) {
                return a.key < b.key;
            }
            return a.shown.size() != b.shown.size() ? a.shown.size() > b.shown.size()
                                                    : a.shown < b.shown;
        });
        list.erase(std::unique(list.begin(), list.end(),
                               [](const Name& a, const Name& b) { return a.key == b.key; }),
                   list.end());
        for (const Name& name : list) {
            rows += "    {" + std::to_string(tenths) + ", " + Quoted(name.shown) + "},\n";
            ++names;
        }
    }

    std::ofstream out(output, std::ios::trunc);
    out << "// Written by tarvex_make_satellite_table from the file names of " << folder
        << ";\n// do not edit. " << files << " files, " << positions.size() << " positions, "
        << names << " names.\n"
        << "#include <iterator>\n\n#include \"names/satellite_table.h\"\n\n"
        << "namespace tarvex::names::detail {\n\nconst SatelliteName SatelliteNames[] = {\n"
        << rows << "};\nconst std::size_t SatelliteNameCount = std::size(SatelliteNames);\n"
        << "const std::size_t SatelliteSourceFiles = " << files << ";\n\n"
        << "}  // namespace tarvex::names::detail\n";
    out.close();
    if (out.fail()) {
        std::fprintf(stderr, "tarvex_make_satellite_table: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
