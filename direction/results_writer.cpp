#include "direction/results_writer.h"

#include <QFile>
#include <QSaveFile>
#include <filesystem>
#include <string>
#include <system_error>

#include "conversions/runtime_error.h"
#include "direction/results_file.h"
#include "files/app_folder.h"

namespace tarvex {
namespace {

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, const std::string& reason) {
    throw RuntimeError(ErrorKind::FileWrite, "Cannot write " + path.string() + ": " + reason);
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
    std::error_code ignored;  // a folder that cannot be made fails the write below, with its reason
    std::filesystem::create_directories(target.parent_path(), ignored);
    RemoveStaleTemporaries(folder);

    QSaveFile file(NativeName(target));
    file.setDirectWriteFallback(true);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         WriteAll(file, line) && file.commit();
    if (!written) {
        ThrowWriteError(target, file.errorString().toStdString());
    }
}

}  // namespace tarvex
