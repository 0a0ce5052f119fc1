#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The application folder and the files the program keeps in it. File names are written as in
// the program's tables, with a leading backslash ("\rlin1.txt", "\GDS001.BMP"): the backslash
// stands for the path separator.

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

}  // namespace tarvex
