#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "planning/plan_inputs.h"

// One batch line read as events, never built as a document: time in proportion to its length,
// and no nesting too deep for the stack. The line must be a flat JSON object of known keys, each
// given once; what a key's value must be is the reader's that derives from this one. Both batch
// modes of tarvex-calc read their lines with it.

namespace tarvex {

class FlatObjectReader : public nlohmann::json::json_sax_t {
  public:
    // What stands where a key's value (or an element of a list the key takes) is read.
    enum class Value { Number, String, Other, OutOfRange };

    // `keys`: the keys a line may hold; each is named by its index into it from then on.
    explicit FlatObjectReader(std::span<const std::string_view> keys);

    // Reads `line`; the first problem met, if any. A line that is not JSON at all is reported as
    // such whatever came before; values of refused keys are only stepped over, however large or
    // deep.
    //   {"a":1} with keys {"a"} -> none;  {"b":1} -> UnknownKey "b";  {"a":1,"a":2} -> GivenTwice
    //   [1] -> NotAnObject;  {"a": -> NotJson;  {"a":1e400} -> what Take says of OutOfRange
    std::optional<planning::InputProblem> Read(std::string_view line);

    bool Given(std::size_t key) const { return m_given[key]; }

    bool null() override { return Scalar(Value::Other); }
    bool boolean(bool) override { return Scalar(Value::Other); }
    bool number_integer(number_integer_t value) override {
        return Number(static_cast<double>(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Number(static_cast<double>(value));
    }
    bool number_float(number_float_t value, const string_t&) override { return Number(value); }
    bool binary(binary_t&) override { return Scalar(Value::Other); }
    bool string(string_t& text) override;
    bool start_object(std::size_t) override;
    bool start_array(std::size_t) override;
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }
    bool key(string_t& name) override;
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override;

  protected:
    // A value of a known key, or an element (from 1) of a list the key takes (TakesList): the
    // derived reader keeps it or reports why not. `number` holds a Number's value, `text` a
    // String's.
    virtual void Take(std::size_t key, int element, Value value, double number,
                      std::string& text) = 0;
    // True where the key's value is a list of elements rather than one value.
    virtual bool TakesList(std::size_t) const { return false; }
    // The key's list begins (its elements follow as Take).
    virtual void StartList(std::size_t) {}

    // Keeps the first problem only.
    void Report(planning::InputProblem problem);
    // A problem of `key`'s value (its `element`'s), with the offending text.
    void Report(planning::InputProblemKind kind, std::size_t key, int element = 0,
                std::string value = {});

    std::string_view KeyName(std::size_t key) const { return m_keys[key]; }

  private:
    bool Number(double value);
    bool Scalar(Value value);
    bool Close();
    // Where a value is read: the value of a known key, or an element of its list.
    bool InValuePlace() const;
    // The element a value in the value place is: the next of a list, else 0.
    int NextElement();

    std::span<const std::string_view> m_keys;
    std::vector<bool> m_given;
    std::optional<std::size_t> m_key;
    int m_depth = 0;
    bool m_in_list = false;
    int m_element = 0;
    bool m_out_of_range = false;
    std::optional<planning::InputProblem> m_problem;
    std::string m_no_text;
};

}  // namespace tarvex
