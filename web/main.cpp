#include <emscripten/emscripten.h>

#include <chrono>
#include <ctime>
#include <string>

#include "planning/today.h"
#include "web/plan_page.h"

// The page's entry points. Each answer stays valid until the next call of its function;
// JavaScript copies it at once.
namespace {

// The text the last plan shows for checking and copying (web::PlanAnswer's `shown`).
std::string shown_plan;

// The browser's time zone at an instant: emscripten's localtime takes it from JavaScript's Date,
// which follows the device's zone (the C library's TZ and /etc/localtime do not exist here).
std::optional<int> BrowserUtcOffset(std::int64_t unix_seconds) {
    const std::time_t instant = static_cast<std::time_t>(unix_seconds);
    std::tm local{};
    if (localtime_r(&instant, &local) == nullptr) {
        return std::nullopt;
    }
    return static_cast<int>(local.tm_gmtoff);
}

tarvex::planning::SunClock DeviceClock() {
    const std::chrono::duration<double> now = std::chrono::system_clock::now().time_since_epoch();
    return {now.count(), BrowserUtcOffset};
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_plan(const char* query) {
    static std::string answer;
    answer = tarvex::web::PlanAnswer(query != nullptr ? query : "", tarvex::planning::LocalToday(),
                                     DeviceClock(), shown_plan);
    return answer.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_shown_plan() {
    return shown_plan.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_inputs() {
    static std::string answer;
    answer = tarvex::web::InputsAnswer(tarvex::planning::LocalToday());
    return answer.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_satellites(const char* text) {
    static std::string answer;
    answer = tarvex::web::SatelliteSuggestions(text != nullptr ? text : "");
    return answer.c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_site(const char* text) {
    static std::string answer;
    answer = tarvex::web::SiteAnswer(text != nullptr ? text : "");
    return answer.c_str();
}

int main() {
    return 0;
}
