#include "plan_window/window_texts.h"

#include <array>
#include <charconv>
#include <cmath>

namespace tarvex {

// PLACEHOLDER until the text layer's explanation replaces it.
std::string PlanExplanation() {
    return "Главное окно считает по упрощённой модели: разности азимутов и углов места; его "
           "расстояние — только боковая часть смещения, его поворот — собственный наклон "
           "поляризации спутника 2. Здесь — точный расчёт: смещения и расстояния настоящие, "
           "повороты — это повороты каждого конвертора в плоскости антенны.";
}

// PLACEHOLDER until the text layer's declination words replace it.
std::string DeclinationText(double declination_deg) {
    std::array<char, 64> buffer{};
    const double rounded = std::round(std::abs(declination_deg) * 10) / 10;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded,
                                      std::chars_format::fixed, 1);
    std::string text = "Магнитное склонение " + std::string(buffer.data(), result.ptr) + "°";
    if (rounded > 0) {
        text += declination_deg > 0 ? " (восточное)" : " (западное)";
    }
    return text;
}

}  // namespace tarvex
