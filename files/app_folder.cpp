#include "files/app_folder.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace tarvex {
namespace {

std::string_view WithoutLeadingBackslash(std::string_view name) {
    if (!name.empty() && name.front() == '\\') {
        name.remove_prefix(1);
    }
    return name;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::string AppFolderFrom(std::string_view reported_folder) {
    if (!reported_folder.empty() &&
        (reported_folder.back() == '\\' || reported_folder.back() == '/')) {
        reported_folder.remove_suffix(1);
    }
    return std::string(reported_folder);
}

std::filesystem::path PathInFolder(std::string_view app_folder, std::string_view name) {
    std::string path(app_folder);
    path += '/';
    path += WithoutLeadingBackslash(name);
    return std::filesystem::path(path);
}

std::optional<std::filesystem::path> FindFileIgnoringCase(std::string_view app_folder,
                                                          std::string_view name,
                                                          std::string_view preferred) {
    std::error_code error;
    for (std::string_view spelling : {preferred, name}) {
        if (!spelling.empty() &&
            EqualIgnoringCase(WithoutLeadingBackslash(spelling), WithoutLeadingBackslash(name))) {
            const std::filesystem::path exact = PathInFolder(app_folder, spelling);
            if (std::filesystem::is_regular_file(exact, error)) {
                return exact;
            }
        }
    }
    const std::filesystem::path exact = PathInFolder(app_folder, name);
    const std::string_view wanted = WithoutLeadingBackslash(name);
    std::vector<std::filesystem::path> matches;
    const std::filesystem::path folder = exact.parent_path();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (EqualIgnoringCase(it->path().filename().string(), wanted) &&
            std::filesystem::is_regular_file(it->path(), error)) {
            matches.push_back(it->path());
        }
    }
    if (matches.empty()) {
        return std::nullopt;
    }
    return *std::min_element(matches.begin(), matches.end());
}

std::optional<std::string> NonFileAt(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    switch (fs::status(path, error).type()) {
        case fs::file_type::directory:
            return "a folder";
        case fs::file_type::fifo:
            return "a FIFO";
        case fs::file_type::block:
        case fs::file_type::character:
            return "a device";
        case fs::file_type::socket:
            return "a socket";
        default:
            return std::nullopt;
    }
}

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // The length of the sequence and the range of its second byte, which rules out overlong
        // forms, surrogates and code points beyond U+10FFFF.
        std::size_t length = 1;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string ResultsFolderFor(std::string_view program_folder, bool may_create_files,
                             const char* xdg_data_home, const char* home) {
    if (may_create_files) {
        return std::string(program_folder);
    }
    // A folder that Qt cannot name would fail every START: the XDG rules let a program fall back
    // to the default when the variable is of no use to it.
    if (xdg_data_home != nullptr && xdg_data_home[0] == '/' && IsUtf8(xdg_data_home)) {
        return AppFolderFrom(xdg_data_home) + "/tarvex";
    }
    if (home != nullptr && home[0] == '/' && IsUtf8(home)) {
        return AppFolderFrom(home) + "/.local/share/tarvex";
    }
    return std::string(program_folder);
}

}  // namespace tarvex
