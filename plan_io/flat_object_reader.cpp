#include "plan_io/flat_object_reader.h"

namespace tarvex {

using planning::InputProblem;
using planning::InputProblemKind;

FlatObjectReader::FlatObjectReader(std::span<const std::string_view> keys)
    : m_keys(keys), m_given(keys.size(), false) {}

std::optional<InputProblem> FlatObjectReader::Read(std::string_view line) {
    if (!nlohmann::json::sax_parse(line.begin(), line.end(), this) && !m_out_of_range) {
        return InputProblem{InputProblemKind::NotJson, {}, 0, {}, {}, {}};
    }
    return m_problem;
}

bool FlatObjectReader::InValuePlace() const {
    if (!m_key) {
        return false;
    }
    return m_in_list ? m_depth == 2 : m_depth == 1;
}

int FlatObjectReader::NextElement() {
    return m_in_list ? ++m_element : 0;
}

bool FlatObjectReader::Number(double value) {
    if (!InValuePlace()) {
        return Scalar(Value::Other);
    }
    Take(*m_key, NextElement(), Value::Number, value, m_no_text);
    return true;
}

bool FlatObjectReader::string(string_t& text) {
    if (!InValuePlace()) {
        return Scalar(Value::Other);
    }
    Take(*m_key, NextElement(), Value::String, 0, text);
    return true;
}

// A value that is not taken as it stands: wrong at the top level, handed to Take as the value of
// a known key or as an element of its list; inside any of these the first problem has already
// been noted.
bool FlatObjectReader::Scalar(Value value) {
    if (m_depth == 0) {
        Report({InputProblemKind::NotAnObject, {}, 0, {}, {}, {}});
    } else if (InValuePlace()) {
        Take(*m_key, NextElement(), value, 0, m_no_text);
    }
    return true;
}

bool FlatObjectReader::start_object(std::size_t) {
    if (m_depth > 0) {
        Scalar(Value::Other);
    }
    ++m_depth;
    return true;
}

bool FlatObjectReader::start_array(std::size_t) {
    if (m_depth == 1 && m_key && TakesList(*m_key)) {
        m_in_list = true;
        m_element = 0;
        StartList(*m_key);
    } else {
        Scalar(Value::Other);
    }
    ++m_depth;
    return true;
}

bool FlatObjectReader::Close() {
    if (--m_depth == 1) {
        m_in_list = false;
    }
    return true;
}

bool FlatObjectReader::key(string_t& name) {
    if (m_depth != 1) {
        return true;
    }
    m_key.reset();
    for (std::size_t k = 0; k < m_keys.size(); ++k) {
        if (m_keys[k] == name) {
            m_key = k;
        }
    }
    if (!m_key) {
        Report({InputProblemKind::UnknownKey, {}, 0, name, {}, {}});
    } else if (m_given[*m_key]) {
        Report(InputProblemKind::GivenTwice, *m_key);
    } else {
        m_given[*m_key] = true;
    }
    return true;
}

bool FlatObjectReader::parse_error(std::size_t, const std::string&,
                                   const nlohmann::detail::exception& error) {
    // 406: valid JSON whose number does not fit a double.
    if (error.id == 406) {
        m_out_of_range = true;
        Scalar(Value::OutOfRange);
        Report({InputProblemKind::OutOfRange, {}, 0, {}, {}, {}});
    }
    return false;
}

void FlatObjectReader::Report(InputProblem problem) {
    if (!m_problem) {
        m_problem = std::move(problem);
    }
}

void FlatObjectReader::Report(InputProblemKind kind, std::size_t key, int element,
                              std::string value) {
    Report(InputProblem{kind, std::string(m_keys[key]), element, std::move(value), {}, {}});
}

}  // namespace tarvex
