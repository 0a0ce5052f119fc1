#pragma once

#include <optional>
#include <string_view>

// Writing the results exchange file (its line and its reader: results_file.h).

namespace tarvex {

// Replaces "\rlin1.txt" in the folder, creating the folder when it does not exist yet, by
// ResultsLine. The new line is written beside the file and put in its place only once complete,
// so a failure at any point leaves the previous file as it was and a reader sees the old line or
// the new one, never a part. Only an existing writable file in a folder that is not writable is
// written in place, the one way it can be updated at all. The file is not forced to disk (fsync
// would cost more than the rest of START on a slow disk): the next START writes it again anyway.
// Stale temporaries of earlier versions are removed first (RemoveStaleTemporaries).
// Throws RuntimeError naming the path and the reason ("Cannot write /opt/t/rlin1.txt: Permission
// denied"), NotAFile when a folder or a device has the file's name, "Overflow" for a number that
// is infinite or not a number.
void WriteResultsFile(std::string_view folder, double alfa1, std::optional<double> beta1);

}  // namespace tarvex
