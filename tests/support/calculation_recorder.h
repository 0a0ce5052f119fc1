#pragma once

#include <array>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "cli/recording_view.h"

// The calculation command's window for tests and fuzzers: what tarvex-calc's recording view keeps,
// and besides every effect of the command in the order it happened.

namespace tarvex {

struct CalculationEffect {
    enum class Kind { Field, Message, File };
    Kind kind = Kind::Field;
    FieldId field = FieldId::SiteLongitudeDegrees;  // Field only
    std::string text;  // the field's new text, the message, or the results file's line
    bool operator==(const CalculationEffect&) const = default;
};

CalculationEffect Wrote(FieldId field, std::string text);
CalculationEffect Showed(std::string message);
CalculationEffect Filed(std::string line);

// How a failing test shows an effect: "azimuth1= 217.3", "message=НЕТ ФОКУСА АНТЕНЫ",
// "file=180,\r\n".
void PrintTo(const CalculationEffect& effect, std::ostream* out);

class CalculationRecorder : public RecordingView {
  public:
    // A freshly opened window: every field holds its default text.
    CalculationRecorder();

    std::string FieldText(FieldId field) const override;
    void SetFieldText(FieldId field, const std::string& text) override;
    void ShowMessage(const std::string& message) override;
    void WriteResultsFile(double alfa1, double beta1) override;

    // The effects since the last call.
    std::vector<CalculationEffect> TakeEffects() { return std::exchange(m_effects, {}); }
    const std::vector<CalculationEffect>& Effects() const { return m_effects; }
    int Reads(FieldId field) const { return m_reads[static_cast<std::size_t>(field)]; }
    // Runs after each field the command writes, as a handler of the field's change would.
    void SetOnWrite(std::function<void(FieldId)> on_write) { m_on_write = std::move(on_write); }

  private:
    std::vector<CalculationEffect> m_effects;
    mutable std::array<int, FieldCount> m_reads{};
    std::function<void(FieldId)> m_on_write;
};

}  // namespace tarvex
