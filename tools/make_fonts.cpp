// Build step: the faces of the bitmap sans the windows draw with, made from the fonts-wine file
// into a folder, for the program to load at start-up.
//   tarvex_make_fonts /usr/share/wine/fonts/ms_sans_serif.ttf build/
// Exits 0 having written them all; 1 when the source cannot be read or holds no such font, or a
// face cannot be written.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/bitmap_faces.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const tarvex::FontBytes& data) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    file.close();
    return !file.fail();
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app(
        "Makes the bitmap sans faces of the windows, one per strike and a bold one of each.",
        "tarvex_make_fonts");
    std::string source;
    std::string folder;
    app.add_option("source", source, "The fonts-wine file, ms_sans_serif.ttf")
        ->required()
        ->check(CLI::ExistingFile);
    app.add_option("folder", folder, "Where the faces go")
        ->required()
        ->check(CLI::ExistingDirectory);
    CLI11_PARSE(app, argc, argv);

    std::ifstream input(source, std::ios::binary);
    const tarvex::FontBytes font{std::istreambuf_iterator<char>(input),
                                 std::istreambuf_iterator<char>()};
    if (input.bad()) {
        std::fprintf(stderr, "tarvex_make_fonts: cannot read %s\n", source.c_str());
        return 1;
    }
    const std::vector<tarvex::BitmapFace> faces = tarvex::MakeBitmapFaces(font, "sans_serif");
    if (faces.empty()) {
        std::fprintf(stderr, "tarvex_make_fonts: %s holds no 1-bit bitmap strikes\n",
                     source.c_str());
        return 1;
    }
    for (const tarvex::BitmapFace& face : faces) {
        const std::filesystem::path path = std::filesystem::path(folder) / face.file_name;
        if (!WriteFile(path, face.data)) {
            std::fprintf(stderr, "tarvex_make_fonts: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
