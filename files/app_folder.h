#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The application folder, the folder of the results file and the files the program keeps in them.
// File names are written as in the program's tables, with a leading backslash ("\rlin1.txt",
// "\GDS001.BMP"): the backslash stands for the path separator.

namespace tarvex {

// The folder text as reported, without a trailing separator ("\" or "/"): a drive root such as
// "C:\" becomes "C:", the root "/" becomes "", every other folder stays as reported.
//   "D:\Calc" -> "D:\Calc";  "D:\" -> "D:";  "/opt/tarvex" -> "/opt/tarvex";  "/" -> ""
std::string AppFolderFrom(std::string_view reported_folder);

// The folder joined with a name that begins with a backslash, the backslash becoming "/".
//   ("/opt/tarvex", "\rlin1.txt") -> "/opt/tarvex/rlin1.txt";  ("", "\rlin1.txt") -> "/rlin1.txt"
std::filesystem::path PathInFolder(std::string_view app_folder, std::string_view name);

// Finds a file on a case-sensitive file system whatever the letter case of its name (ASCII
// letters). When several names match: `preferred` spelled exactly, then `name` spelled exactly,
// then the first match in name order. None when the folder has no such file.
//   ("/opt/tarvex", "\RLIN1.TXT") -> "/opt/tarvex/rlin1.txt" when only that file exists
//   ("/opt/tarvex", "\RLIN1.TXT", "\rlin1.txt") -> ".../rlin1.txt" when both exist
std::optional<std::filesystem::path> FindFileIgnoringCase(std::string_view app_folder,
                                                          std::string_view name,
                                                          std::string_view preferred = {});

// What stands at `path` when it is something other than a regular file: "a folder", "a FIFO",
// "a device", "a socket" (a symbolic link is followed); none for a regular file or nothing.
//   "/tmp" -> "a folder";  "/dev/null" -> "a device";  "/etc/hostname" -> none
std::optional<std::string> NonFileAt(const std::filesystem::path& path);

// Whether the bytes are well-formed UTF-8: Qt, which writes the results file, names files by
// text and cannot name a folder whose bytes are not.
//   "/home/u/данные" -> true;  "/home/u/\xff" -> false
bool IsUtf8(std::string_view bytes);

// The folder of the results file: the program's folder when the program may create files there,
// else the user's data folder, $XDG_DATA_HOME/tarvex, or ~/.local/share/tarvex when that variable
// is unset, empty, not an absolute path or not UTF-8 (it may not exist yet). Without a usable home
// folder either, the program's folder stays, and writing there fails with its reason.
//   ("/opt/tarvex", true, ...) -> "/opt/tarvex"
//   ("/usr/lib/tarvex", false, "/data", "/home/u") -> "/data/tarvex"
//   ("/usr/lib/tarvex", false, nullptr or "" or "data" or "/\xff", "/home/u")
//       -> "/home/u/.local/share/tarvex"
std::string ResultsFolderFor(std::string_view program_folder, bool may_create_files,
                             const char* xdg_data_home, const char* home);

}  // namespace tarvex
