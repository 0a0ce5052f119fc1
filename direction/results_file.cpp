#include "direction/results_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "conversions/app_folder.h"
#include "conversions/number_text.h"
#include "conversions/runtime_error.h"

namespace tarvex {
namespace {

// ---- Writing ----

std::string WithoutSignBlank(std::string text) {
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    return text;
}

std::string ErrnoReason(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& path, int error) {
    throw RuntimeError(ErrorKind::FileWrite,
                       "Cannot write " + path.string() + ": " + ErrnoReason(error));
}

std::string RandomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    constexpr char hex[] = "0123456789abcdef";
    std::string suffix;
    for (std::uint64_t bits = generator(); suffix.size() < 12; bits >>= 4) {
        suffix += hex[bits & 0xF];
    }
    return suffix;
}

// A temporary file beside the target, created exclusively; its name never matches the reader's
// name, whatever the letter case. Permissions follow the umask as for a plainly created file.
struct TemporaryFile {
    std::filesystem::path path;
    int descriptor = -1;
};

TemporaryFile CreateTemporaryBeside(const std::filesystem::path& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        TemporaryFile temporary;
        temporary.path = target;
        temporary.path.replace_filename("." + target.filename().string() + "." + RandomSuffix());
        temporary.descriptor =
            ::open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temporary.descriptor >= 0) {
            return temporary;
        }
        if (errno != EEXIST) {
            ThrowWriteError(target, errno);
        }
    }
    ThrowWriteError(target, EEXIST);
}

// Returns 0 or the errno of the first failure.
int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int WriteClose(int descriptor, std::string_view bytes) {
    int error = WriteAll(descriptor, bytes);
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    return error;
}

// ---- Reading ----

enum class Delimiter { Comma, LineEnd, EndOfContent };

struct Field {
    std::string text;
    Delimiter after = Delimiter::EndOfContent;
};

class FieldScanner {
  public:
    explicit FieldScanner(std::string_view content) : m_content(content) {}

    // Skips the blanks before a field; false when nothing is left.
    bool SkipBlanks() {
        while (m_pos < m_content.size() && m_content[m_pos] == ' ') {
            ++m_pos;
        }
        return m_pos < m_content.size();
    }

    Field ReadField() {
        Field field;
        if (m_pos < m_content.size() && m_content[m_pos] == '"') {
            field.text = ReadQuoted();
            SkipToDelimiter();
        } else {
            const std::size_t start = m_pos;
            SkipToDelimiter();
            field.text = std::string(m_content.substr(start, m_pos - start));
        }
        field.after = ConsumeDelimiter();
        return field;
    }

  private:
    static bool IsDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

    std::string ReadQuoted() {
        const std::size_t start = m_pos + 1;
        const std::size_t close = m_content.find('"', start);
        const std::size_t end = close == std::string_view::npos ? m_content.size() : close;
        m_pos = close == std::string_view::npos ? end : close + 1;
        return std::string(m_content.substr(start, end - start));
    }

    void SkipToDelimiter() {
        while (m_pos < m_content.size() && !IsDelimiter(m_content[m_pos])) {
            ++m_pos;
        }
    }

    Delimiter ConsumeDelimiter() {
        if (m_pos >= m_content.size()) {
            return Delimiter::EndOfContent;
        }
        const char c = m_content[m_pos++];
        if (c == ',') {
            return Delimiter::Comma;
        }
        if (c == '\r' && m_pos < m_content.size() && m_content[m_pos] == '\n') {
            ++m_pos;
        }
        return Delimiter::LineEnd;
    }

    std::string_view m_content;
    std::size_t m_pos = 0;
};

[[noreturn]] void ThrowPastEnd(std::string_view file_name) {
    throw RuntimeError(ErrorKind::ResultsFileShort,
                       "Input past end of file: " + std::string(file_name));
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        throw RuntimeError(ErrorKind::FileRead,
                           "Cannot read " + path.string() + ": " + ErrnoReason(errno));
    }
    std::string content;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        content.append(buffer, count);
    }
    if (std::ferror(file.get())) {
        throw RuntimeError(ErrorKind::FileRead,
                           "Cannot read " + path.string() + ": " + ErrnoReason(errno));
    }
    return content;
}

}  // namespace

std::string ResultsLine(double alfa1, std::optional<double> beta1) {
    std::string line = WithoutSignBlank(NumberToText(alfa1));
    line += ',';
    if (beta1) {
        line += WithoutSignBlank(NumberToText(*beta1));
    }
    line += "\r\n";
    return line;
}

void WriteResultsFile(std::string_view app_folder, double alfa1, std::optional<double> beta1) {
    const std::string line = ResultsLine(alfa1, beta1);
    const std::filesystem::path target = PathInFolder(app_folder, ResultsFileWriterName);
    const TemporaryFile temporary = CreateTemporaryBeside(target);
    int error = WriteClose(temporary.descriptor, line);
    if (error == 0 && std::rename(temporary.path.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.path.c_str());
        ThrowWriteError(target, error);
    }
}

ResultsFields ParseResultsFields(std::string_view content, std::string_view file_name) {
    FieldScanner scanner(content);
    if (!scanner.SkipBlanks()) {
        ThrowPastEnd(file_name);
    }
    const Field first = scanner.ReadField();
    // After a comma the second field exists, if only as an empty one; after a line end it must
    // begin on the next line.
    const bool second_begins = first.after == Delimiter::Comma ||
                               (first.after == Delimiter::LineEnd && scanner.SkipBlanks());
    if (!second_begins) {
        ThrowPastEnd(file_name);
    }
    scanner.SkipBlanks();
    return ResultsFields{first.text, scanner.ReadField().text};
}

ResultsFields ReadResultsFile(std::string_view app_folder) {
    const std::optional<std::filesystem::path> path =
        FindFileIgnoringCase(app_folder, ResultsFileReaderName, ResultsFileWriterName);
    if (!path) {
        throw RuntimeError(
            ErrorKind::ResultsFileMissing,
            "File not found: " + PathInFolder(app_folder, ResultsFileReaderName).string() +
                ". Press START in the main window first.");
    }
    return ParseResultsFields(ReadWholeFile(*path), path->string());
}

}  // namespace tarvex
