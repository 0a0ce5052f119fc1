#include "direction/results_writer.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "conversions/runtime_error.h"
#include "direction/results_file.h"
#include "files/app_folder.h"

namespace tarvex {
namespace {

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, const std::string& reason,
                                  int system_error = 0) {
    throw RuntimeError(ErrorKind::FileWrite, "Cannot write " + path.string() + ": " + reason,
                       system_error);
}

// The folders on the way to `folder` that do not exist yet, the innermost first.
std::vector<std::filesystem::path> MissingFolders(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> missing;
    std::error_code error;
    for (std::filesystem::path at = folder;
         !at.empty() && at != at.root_path() && !std::filesystem::exists(at, error) && !error;
         at = at.parent_path()) {
        missing.push_back(at);
    }
    return missing;
}

// Removes the folders a failed write made, so that nothing is left behind; only empty ones go.
void RemoveMadeFolders(const std::vector<std::filesystem::path>& made) {
    std::error_code ignored;
    for (const std::filesystem::path& folder : made) {
        std::filesystem::remove(folder, ignored);
    }
}

// Qt takes file names as text: a folder whose bytes are not UTF-8 could not be named again.
QString NativeName(const std::filesystem::path& path) {
    const QString name = QFile::decodeName(path.c_str());
    if (QFile::encodeName(name) != QByteArray(path.c_str())) {
        ThrowWriteError(path, "the folder's name is not valid UTF-8");
    }
    return name;
}

// Unbuffered, with every short write retried: Qt's buffered write reports a write cut short after
// its first bytes (a full disk, a file size limit) as a success, and the commit would then put
// the partial line in the file's place.
bool WriteAll(QSaveFile& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const qint64 written = file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

void WriteResultsFile(std::string_view folder, double alfa1, std::optional<double> beta1) {
    const std::string line = ResultsLine(alfa1, beta1);
    const std::filesystem::path target = PathInFolder(folder, ResultsFileWriterName);
    if (const std::optional<std::string> what = NonFileAt(target)) {
        throw RuntimeError(ErrorKind::NotAFile,
                           "Cannot write " + target.string() + ": " + *what + " has its name");
    }
    // Named before anything is made: a name Qt cannot take leaves no empty folder behind.
    const QString name = NativeName(target);
    const std::vector<std::filesystem::path> made = MissingFolders(target.parent_path());
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        // Its own reason (a folder this user may not create in), not the missing file's it
        // would cause.
        RemoveMadeFolders(made);
        ThrowWriteError(target,
                        "cannot create " + target.parent_path().string() + ": " + error.message(),
                        error.value());
    }
    RemoveStaleTemporaries(folder);

    QSaveFile file(name);
    file.setDirectWriteFallback(true);
    errno = 0;
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         WriteAll(file, line) && file.commit();
    if (!written) {
        const int system_error = errno;  // the failing call's, which Qt's text is made from
        RemoveMadeFolders(made);
        ThrowWriteError(target, file.errorString().toStdString(), system_error);
    }
}

}  // namespace tarvex
