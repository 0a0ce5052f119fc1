#include "cli/recording_view.h"

#include "direction/results_file.h"

namespace tarvex {

void RecordingView::SetFieldText(FieldId field, const std::string& text) {
    m_texts[Index(field)] = text;
    m_written.set(Index(field));
}

void RecordingView::WriteResultsFile(double alfa1, double beta1) {
    m_results_line = tarvex::ResultsLine(alfa1, beta1);
}

}  // namespace tarvex
