#include "cli/batch.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/json_line.h"

namespace tarvex {
namespace {

using Json = nlohmann::json;

std::optional<std::size_t> InputIndexOfKey(std::string_view key) {
    const auto found =
        std::find_if(InputFields.begin(), InputFields.end(),
                     [key](const InputField& input) { return SpecOf(input.field).key == key; });
    if (found == InputFields.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - InputFields.begin());
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    AppendJsonString(quoted, text);
    return quoted;
}

// A repeated key is refused: "last one wins" would hide a typing error.
std::string GivenTwice(std::string_view key) {
    return "the key " + Quoted(key) + " is given twice";
}

// Reads one line as events, without building a document: the top level must be an object, each
// of its keys one of InputFields' keys and each of its values a string. Records the first
// problem; a line that is not JSON at all is reported as such whatever came before.
class BatchLineReader : public Json::json_sax_t {
  public:
    explicit BatchLineReader(CalculationInputs& inputs) : m_inputs(inputs) {}

    const std::string& Problem() const { return m_problem; }

    bool null() override { return Scalar(); }
    bool boolean(bool) override { return Scalar(); }
    bool number_integer(number_integer_t) override { return Scalar(); }
    bool number_unsigned(number_unsigned_t) override { return Scalar(); }
    bool number_float(number_float_t, const string_t&) override { return Scalar(); }
    bool binary(binary_t&) override { return Scalar(); }
    bool string(string_t& value) override {
        if (m_depth == 1 && m_key_index) {
            m_inputs[*m_key_index] = std::move(value);
            return true;
        }
        return Scalar();
    }
    bool start_object(std::size_t) override { return Open(); }
    bool start_array(std::size_t) override {
        if (m_depth == 0) {
            Report("not a JSON object");
        }
        return Open();
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& key) override {
        if (m_depth == 1) {
            m_key_index = InputIndexOfKey(key);
            if (!m_key_index) {
                Report("unknown key " + Quoted(key));
            } else if (m_given[*m_key_index]) {
                Report(GivenTwice(key));
            } else {
                m_given[*m_key_index] = true;
            }
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // 406: valid JSON whose number does not fit a double, wrong where it stands.
        if (error.id == 406) {
            m_out_of_range = true;
            Scalar();
            Report("a number is out of range");
        }
        return false;
    }

    // True when the reading stopped at a number out of range, not at a fault of the JSON.
    bool OutOfRange() const { return m_out_of_range; }

  private:
    // A value that is not a string: wrong at the top level or as the value of a known key.
    bool Scalar() {
        if (m_depth == 0) {
            Report("not a JSON object");
        } else if (m_depth == 1) {
            NotAString();
        }
        return true;
    }

    bool Open() {
        if (m_depth == 1) {
            NotAString();
        }
        ++m_depth;
        return true;
    }

    bool Close() {
        --m_depth;
        return true;
    }

    void NotAString() {
        if (m_key_index) {
            Report("the value of " + Quoted(SpecOf(InputFields[*m_key_index].field).key) +
                   " is not a string");
        }
    }

    void Report(std::string problem) {
        if (m_problem.empty()) {
            m_problem = std::move(problem);
        }
    }

    CalculationInputs& m_inputs;
    int m_depth = 0;
    std::optional<std::size_t> m_key_index;
    std::array<bool, InputCount> m_given{};
    bool m_out_of_range = false;
    std::string m_problem;
};

using BatchLine = std::variant<CalculationInputs, std::string>;

// The form that tools write: a flat object whose keys and values are strings of printable ASCII
// without escapes. Scanning it by hand is several times faster than a general JSON parser; any
// other line, valid or not, goes to nlohmann.
class PlainLineScanner {
  public:
    explicit PlainLineScanner(std::string_view line) : m_line(line) {}

    bool Consume(char c) {
        SkipWhitespace();
        if (m_pos < m_line.size() && m_line[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    std::optional<std::string_view> PlainString() {
        if (!Consume('"')) {
            return std::nullopt;
        }
        const std::size_t start = m_pos;
        for (; m_pos < m_line.size(); ++m_pos) {
            const char c = m_line[m_pos];
            if (c == '"') {
                return m_line.substr(start, m_pos++ - start);
            }
            if (c == '\\' || c < 0x20 || c > 0x7E) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    bool AtEnd() {
        SkipWhitespace();
        return m_pos == m_line.size();
    }

  private:
    void SkipWhitespace() {
        while (m_pos < m_line.size() && (m_line[m_pos] == ' ' || m_line[m_pos] == '\t' ||
                                         m_line[m_pos] == '\n' || m_line[m_pos] == '\r')) {
            ++m_pos;
        }
    }

    std::string_view m_line;
    std::size_t m_pos = 0;
};

BatchLine ParseJsonLine(std::string_view line, const CalculationInputs& defaults) {
    CalculationInputs inputs = defaults;
    BatchLineReader reader(inputs);
    if (!Json::sax_parse(line.begin(), line.end(), &reader) && !reader.OutOfRange()) {
        return std::string("not valid JSON");
    }
    if (!reader.Problem().empty()) {
        return reader.Problem();
    }
    return inputs;
}

std::string ErrorLine(long line_number, const std::string& reason) {
    JsonLine json;
    json.Add("error", "line " + std::to_string(line_number) + ": " + reason);
    return std::move(json).Finish();
}

// Returns 0 or the errno of the failed write.
int Flush(std::string& buffer, std::FILE* output) {
    errno = 0;
    const bool written = std::fwrite(buffer.data(), 1, buffer.size(), output) == buffer.size() &&
                         std::fflush(output) == 0;
    buffer.clear();
    return written ? 0 : (errno != 0 ? errno : EIO);
}

// Reads the input in blocks and hands out its lines, keeping at most MaxLineBytes of any line:
// a longer one is only counted through to its end.
class LineSplitter {
  public:
    explicit LineSplitter(int input) : m_input(input) {}

    enum class Next { Line, End, ReadFailed, WaitRefused };

    // The next line without its "\n" in `line`, `too_long` when it was longer than
    // MaxLineBytes (its text then is empty). `before_wait` runs before every read that may
    // block; an errno it returns stops the reading (WaitRefused).
    template <typename BeforeWait>
    Next Read(std::string& line, bool& too_long, BeforeWait&& before_wait) {
        line.clear();
        too_long = false;
        bool any = false;
        for (;;) {
            if (m_pos == m_end) {
                if (m_at_end) {
                    return any ? Next::Line : Next::End;
                }
                if (const int error = before_wait(); error != 0) {
                    m_error = error;
                    return Next::WaitRefused;
                }
                if (!Fill()) {
                    return Next::ReadFailed;
                }
                continue;
            }
            any = true;
            const char* start = m_block + m_pos;
            const auto* newline = static_cast<const char*>(std::memchr(start, '\n', m_end - m_pos));
            const std::size_t count =
                newline ? static_cast<std::size_t>(newline - start) : m_end - m_pos;
            if (!too_long && line.size() + count > MaxLineBytes) {
                too_long = true;
                std::string().swap(line);
            }
            if (!too_long) {
                line.append(start, count);
            }
            m_pos += count;
            if (newline) {
                ++m_pos;
                return Next::Line;
            }
        }
    }

    // The errno of the failed read, or the one `before_wait` returned.
    int Error() const { return m_error; }

  private:
    bool Fill() {
        for (;;) {
            const ssize_t count = ::read(m_input, m_block, sizeof m_block);
            if (count >= 0) {
                m_pos = 0;
                m_end = static_cast<std::size_t>(count);
                m_at_end = count == 0;
                return true;
            }
            if (errno != EINTR) {
                m_error = errno;
                return false;
            }
        }
    }

    int m_input;
    char m_block[1 << 16];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_at_end = false;
    int m_error = 0;
};

// The answer to a line that RunLines rejects itself.
std::optional<std::string> LineDefect(const std::string& line, bool too_long) {
    if (too_long) {
        return "longer than 1 MiB";
    }
    if (line.find('\0') != std::string::npos) {
        return "holds a NUL byte";
    }
    return std::nullopt;
}

std::pair<std::string, bool> AnswerLine(const std::string& line, bool too_long, long line_number,
                                        const LineAnswer& answer) {
    if (const std::optional<std::string> defect = LineDefect(line, too_long)) {
        return {ErrorLine(line_number, *defect), false};
    }
    return answer(line, line_number);
}

}  // namespace

std::optional<std::variant<CalculationInputs, std::string>> ParsePlainBatchLine(
    std::string_view line, const CalculationInputs& defaults) {
    PlainLineScanner scanner(line);
    if (!scanner.Consume('{')) {
        return std::nullopt;
    }
    CalculationInputs inputs = defaults;
    std::array<bool, InputCount> given{};
    std::string problem;
    if (!scanner.Consume('}')) {
        do {
            const std::optional<std::string_view> key = scanner.PlainString();
            if (!key || !scanner.Consume(':')) {
                return std::nullopt;
            }
            const std::optional<std::string_view> value = scanner.PlainString();
            if (!value) {
                return std::nullopt;
            }
            const std::optional<std::size_t> index = InputIndexOfKey(*key);
            if (index && !given[*index]) {
                inputs[*index] = *value;
                given[*index] = true;
            } else if (problem.empty()) {
                problem = index ? GivenTwice(*key) : "unknown key " + Quoted(*key);
            }
        } while (scanner.Consume(','));
        if (!scanner.Consume('}')) {
            return std::nullopt;
        }
    }
    if (!scanner.AtEnd()) {
        return std::nullopt;
    }
    if (!problem.empty()) {
        return problem;
    }
    return inputs;
}

std::variant<CalculationInputs, std::string> ParseBatchLine(std::string_view line,
                                                            const CalculationInputs& defaults) {
    if (std::optional<BatchLine> plain = ParsePlainBatchLine(line, defaults)) {
        return std::move(*plain);
    }
    return ParseJsonLine(line, defaults);
}

std::pair<std::string, bool> BatchOutputLine(std::string_view line, long line_number,
                                             const CalculationInputs& defaults) {
    const auto parsed = ParseBatchLine(line, defaults);
    if (const auto* reason = std::get_if<std::string>(&parsed)) {
        return {ErrorLine(line_number, *reason), false};
    }
    return {OutcomeJson(Calculate(std::get<CalculationInputs>(parsed))), true};
}

BatchResult RunLines(int input, std::FILE* output, const LineAnswer& answer) {
    constexpr std::size_t FlushSize = 1 << 16;
    BatchResult result;
    std::string buffer;
    std::string line;
    bool too_long = false;
    LineSplitter splitter(input);
    // Answers are flushed when the next line would have to wait for input, so that a program
    // feeding lines one at a time gets each answer at once.
    const auto flush = [&] { return Flush(buffer, output); };
    for (long line_number = 1;; ++line_number) {
        switch (splitter.Read(line, too_long, flush)) {
            case LineSplitter::Next::Line:
                break;
            case LineSplitter::Next::End:
                if (const int error = flush(); error != 0) {
                    return {BatchEnd::WriteFailed, error};
                }
                return result;
            case LineSplitter::Next::ReadFailed:
                return {BatchEnd::ReadFailed, splitter.Error()};
            case LineSplitter::Next::WaitRefused:
                return {BatchEnd::WriteFailed, splitter.Error()};
        }
        const std::pair<std::string, bool> answered =
            AnswerLine(line, too_long, line_number, answer);
        if (!answered.second) {
            result.end = BatchEnd::SomeRejected;
        }
        buffer += answered.first;
        buffer += '\n';
        if (buffer.size() >= FlushSize) {
            if (const int error = flush(); error != 0) {
                return {BatchEnd::WriteFailed, error};
            }
        }
    }
}

BatchResult RunBatch(int input, std::FILE* output, const CalculationInputs& defaults) {
    return RunLines(input, output, [&defaults](std::string_view line, long line_number) {
        return BatchOutputLine(line, line_number, defaults);
    });
}

}  // namespace tarvex
