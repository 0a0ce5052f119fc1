#include "direction/results_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "files/app_folder.h"

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

bool IsStaleTemporaryName(std::string_view name) {
    constexpr std::string_view prefix = ".rlin1.txt.";
    constexpr std::size_t digits = 12;
    return name.size() == prefix.size() + digits && name.starts_with(prefix) &&
           name.find_first_not_of("0123456789abcdef", prefix.size()) == std::string_view::npos;
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

[[noreturn]] void ThrowReadError(const std::filesystem::path& path, int error) {
    throw RuntimeError(ErrorKind::FileRead,
                       "Cannot read " + path.string() + ": " + ErrnoReason(error), error);
}

// The whole file, refused when it is longer than a results file can meaningfully be.
std::string ReadResultsBytes(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        ThrowReadError(path, errno);
    }
    std::string content(MaxResultsFileBytes + 1, '\0');
    content.resize(std::fread(content.data(), 1, content.size(), file.get()));
    if (std::ferror(file.get())) {
        ThrowReadError(path, errno);
    }
    if (content.size() > MaxResultsFileBytes) {
        throw RuntimeError(ErrorKind::ResultsFileInvalid,
                           "Invalid results file: " + path.string() + " (longer than " +
                               std::to_string(MaxResultsFileBytes) + " bytes)");
    }
    return content;
}

// A folder or a device under either spelling of the name is named as such, not as missing.
void ThrowIfNotAFile(std::string_view folder) {
    for (const char* name : {ResultsFileWriterName, ResultsFileReaderName}) {
        const std::filesystem::path path = PathInFolder(folder, name);
        if (const std::optional<std::string> what = NonFileAt(path)) {
            throw RuntimeError(ErrorKind::NotAFile,
                               "Not a file: " + path.string() + " (" + *what + ")");
        }
    }
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

void RemoveStaleTemporaries(std::string_view folder) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(PathInFolder(folder, ""), error), end;
         !error && it != end; it.increment(error)) {
        if (IsStaleTemporaryName(it->path().filename().native()) && it->is_regular_file(error)) {
            std::filesystem::remove(it->path(), error);
        }
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
        ThrowIfNotAFile(app_folder);
        throw RuntimeError(
            ErrorKind::ResultsFileMissing,
            "File not found: " + PathInFolder(app_folder, ResultsFileReaderName).string() +
                ". Press START in the main window first.");
    }
    return ParseResultsFields(ReadResultsBytes(*path), path->string());
}

}  // namespace tarvex
