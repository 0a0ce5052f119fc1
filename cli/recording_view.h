#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string>

#include "main_window/calculation_command.h"

// A window without a screen: the sixteen field texts, which of them the command wrote, the
// validation message it showed and the line it would have written to the results file.

namespace tarvex {

class RecordingView : public CalculationView {
  public:
    std::string FieldText(FieldId field) const override { return Text(field); }
    void SetFieldText(FieldId field, const std::string& text) override;
    void ShowMessage(const std::string& message) override { m_message = message; }
    void WriteResultsFile(double alfa1, double beta1) override;

    // Sets a field as the user would type it; not counted as written by the command.
    void TypeFieldText(FieldId field, std::string text) { m_texts[Index(field)] = std::move(text); }

    const std::string& Text(FieldId field) const { return m_texts[Index(field)]; }
    bool WasWritten(FieldId field) const { return m_written[Index(field)]; }
    const std::optional<std::string>& Message() const { return m_message; }
    const std::optional<std::string>& ResultsLine() const { return m_results_line; }

  private:
    static std::size_t Index(FieldId field) { return static_cast<std::size_t>(field); }

    std::array<std::string, FieldCount> m_texts;
    std::bitset<FieldCount> m_written;
    std::optional<std::string> m_message;
    std::optional<std::string> m_results_line;
};

}  // namespace tarvex
