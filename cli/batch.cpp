#include "cli/batch.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include "plan_io/flat_object_reader.h"
#include "plan_io/json_writer.h"
#include "plan_text/problem_text.h"

namespace tarvex {
namespace {

using planning::InputProblem;
using planning::InputProblemKind;

std::array<std::string_view, InputCount> KeyNames() {
    std::array<std::string_view, InputCount> keys;
    for (std::size_t k = 0; k < InputCount; ++k) {
        keys[k] = SpecOf(InputFields[k].field).key;
    }
    return keys;
}
const std::array<std::string_view, InputCount> Keys = KeyNames();

std::optional<std::size_t> InputIndexOfKey(std::string_view key) {
    const auto found = std::find(Keys.begin(), Keys.end(), key);
    return found == Keys.end() ? std::nullopt : std::optional<std::size_t>(found - Keys.begin());
}

// The main window's fields by their keys, each value a string, as typed into the field.
class BatchLineReader : public FlatObjectReader {
  public:
    explicit BatchLineReader(CalculationInputs& inputs)
        : FlatObjectReader(Keys), m_inputs(inputs) {}

  private:
    void Take(std::size_t key, int, Value value, double, std::string& text) override {
        if (value == Value::String) {
            m_inputs[key] = std::move(text);
        } else {
            Report(InputProblemKind::NotAString, key);
        }
    }

    CalculationInputs& m_inputs;
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
    if (const std::optional<InputProblem> problem = reader.Read(line)) {
        return ProblemInEnglish(*problem);
    }
    return inputs;
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
std::optional<InputProblemKind> LineDefect(const std::string& line, bool too_long) {
    if (too_long) {
        return InputProblemKind::TooLong;
    }
    if (line.find('\0') != std::string::npos) {
        return InputProblemKind::NulByte;
    }
    return std::nullopt;
}

std::pair<std::string, bool> AnswerLine(const std::string& line, bool too_long, long line_number,
                                        const LineAnswer& answer) {
    if (const std::optional<InputProblemKind> defect = LineDefect(line, too_long)) {
        return {ErrorLine(line_number, ProblemInEnglish({*defect, {}, 0, {}, {}, {}})), false};
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
                problem = ProblemInEnglish(
                    index
                        ? InputProblem{InputProblemKind::GivenTwice, std::string(*key), 0, {}, {}, {}}
                        : InputProblem{InputProblemKind::UnknownKey, {}, 0, std::string(*key), {}, {}});
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
