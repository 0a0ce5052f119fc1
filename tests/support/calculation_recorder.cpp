#include "tests/support/calculation_recorder.h"

#include <ostream>

namespace tarvex {

CalculationEffect Wrote(FieldId field, std::string text) {
    return {CalculationEffect::Kind::Field, field, std::move(text)};
}

CalculationEffect Showed(std::string message) {
    return {CalculationEffect::Kind::Message, {}, std::move(message)};
}

CalculationEffect Filed(std::string line) {
    return {CalculationEffect::Kind::File, {}, std::move(line)};
}

void PrintTo(const CalculationEffect& effect, std::ostream* out) {
    switch (effect.kind) {
        case CalculationEffect::Kind::Field:
            *out << SpecOf(effect.field).key;
            break;
        case CalculationEffect::Kind::Message:
            *out << "message";
            break;
        case CalculationEffect::Kind::File:
            *out << "file";
            break;
    }
    *out << '=' << effect.text;
}

CalculationRecorder::CalculationRecorder() {
    for (const FieldSpec& field : Fields) {
        TypeFieldText(field.id, field.default_text);
    }
}

std::string CalculationRecorder::FieldText(FieldId field) const {
    ++m_reads[static_cast<std::size_t>(field)];
    return RecordingView::FieldText(field);
}

void CalculationRecorder::SetFieldText(FieldId field, const std::string& text) {
    RecordingView::SetFieldText(field, text);
    m_effects.push_back(Wrote(field, text));
    if (m_on_write) {
        m_on_write(field);
    }
}

void CalculationRecorder::ShowMessage(const std::string& message) {
    RecordingView::ShowMessage(message);
    m_effects.push_back(Showed(message));
}

void CalculationRecorder::WriteResultsFile(double alfa1, double beta1) {
    RecordingView::WriteResultsFile(alfa1, beta1);
    m_effects.push_back(Filed(*ResultsLine()));
}

}  // namespace tarvex
