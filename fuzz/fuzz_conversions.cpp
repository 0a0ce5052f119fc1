// Number conversions on arbitrary texts: reading never fails, and every rendering reads back to
// what it renders.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "conversions/number_text.h"
#include "conversions/runtime_error.h"
#include "conversions/text.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool HasDigit(std::string_view text) {
    return text.find_first_of("0123456789") != std::string_view::npos;
}

void CheckDouble(double x) {
    const std::string text = tarvex::NumberToText(x);
    Require(tarvex::NumberToText(tarvex::ParseLeadingNumber(text)) == text);
    Require(tarvex::ParseNumberStrict(text) == tarvex::ParseLeadingNumber(text));

    const std::string fixed = tarvex::FormatNumber(x, "##0.00000");
    const double back = tarvex::ParseNumberStrict(fixed);
    Require(std::fabs(back - x) <= 0.5e-5 * (1 + 1e-9) + std::fabs(x) * 1e-15);

    const std::string short_form = tarvex::FormatNumber(x, "##.#");
    if (HasDigit(short_form)) {
        Require(std::fabs(tarvex::ParseNumberStrict(short_form) - x) <=
                0.05 * (1 + 1e-9) + std::fabs(x) * 1e-15);
    }
}

void CheckSingle(double x) {
    try {
        const float single = tarvex::AsSingle(x);
        // Seven digits do not always survive a trip through a single, but they do through a
        // double.
        const std::string text = tarvex::NumberToText(single);
        if (text.find('E') == std::string::npos) {
            Require(tarvex::NumberToText(tarvex::ParseLeadingNumber(text)) == text);
        }
        if (std::floor(single) == single) {
            Require(tarvex::ParseNumberStrict(tarvex::WholeToText(single)) == single);
        }
    } catch (const tarvex::RuntimeError&) {
        Require(!(std::fabs(x) < 3.4e38));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double x = tarvex::ParseLeadingNumber(text);
    try {
        Require(tarvex::ParseNumberStrict(text) == x);
    } catch (const tarvex::RuntimeError&) {
    }
    (void)tarvex::TextLength(text);
    (void)tarvex::Substring(text, static_cast<long>(size % 7), static_cast<long>(size % 11));
    if (std::isfinite(x)) {
        CheckDouble(x);
        CheckSingle(x);
        try {
            (void)tarvex::RoundToInt16(x);
        } catch (const tarvex::RuntimeError&) {
            Require(!(x > -32768.5 && x < 32767.5));
        }
    }
    return 0;
}
