#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The results exchange file: one line in the results folder that the main window's calculation
// writes (results_writer.h) and the direction window reads. The writer names it "\rlin1.txt",
// the reader asks for "\RLIN1.TXT"; names match without regard to letter case.

namespace tarvex {

inline constexpr const char* ResultsFileWriterName = "\\rlin1.txt";
inline constexpr const char* ResultsFileReaderName = "\\RLIN1.TXT";

struct ResultsFields {
    std::string first;
    std::string second;
};

// The line the file receives: both numbers as NumberToText renders them, without its sign blank.
//   (217.34429165277737, 44.81684712129953) -> "217.344291652777,44.8168471212995\r\n"
//   (187.25, 23.5) -> "187.25,23.5\r\n";  (-3.5, 0) -> "-3.5,0\r\n";  (180, none) -> "180,\r\n"
// Throws RuntimeError "Overflow" for infinity or not-a-number.
std::string ResultsLine(double alfa1, std::optional<double> beta1);

// The temporary files that earlier versions of the writer left beside the results file when they
// were killed during a write (".rlin1.txt." and 12 hexadecimal digits), removed; nothing else is
// touched, and a failure to remove one is no error.
//   ".rlin1.txt.0123456789ab" -> removed;  ".rlin1.txt.notes", "rlin1.txt.0123456789ab" -> kept
void RemoveStaleTemporaries(std::string_view folder);

// Longer results files are refused rather than read: the line is a few dozen bytes.
inline constexpr std::size_t MaxResultsFileBytes = 64 * 1024;

// Reads the first two fields of a file's content, the way the direction window reads them:
// blanks before a field are skipped; a field beginning with a double quote runs to the next one
// (marks dropped) and the rest up to the next comma or line end is skipped; any other field runs
// to the next comma, line end (CR, LF or CR LF) or the end of the content. A delimiter right
// after the previous one gives an empty field; a comma as the last character gives an empty
// second field.
//   "187.25,23.5\r\n" -> {"187.25", "23.5"};  "180,\r\n" -> {"180", ""};
//   "  \"a,b\" x,c" -> {"a,b", "c"};  "1\n2" -> {"1", "2"}
// Throws RuntimeError "Input past end of file: <file_name>" when the content ends before the
// second field begins: "", "187.25", "187.25\r\n".
ResultsFields ParseResultsFields(std::string_view content, std::string_view file_name);

// Finds "\RLIN1.TXT" in the folder whatever the letter case of its name (the writer's
// "rlin1.txt" first when several match) and parses it with ParseResultsFields.
// Throws RuntimeError "File not found: <path>. Press START in the main window first." when there
// is no such file, NotAFile "Not a file: <path> (a folder)" when a folder or a device has its
// name, ResultsFileInvalid when it is longer than MaxResultsFileBytes, and one naming the path
// and the reason when it cannot be read.
ResultsFields ReadResultsFile(std::string_view app_folder);

}  // namespace tarvex
