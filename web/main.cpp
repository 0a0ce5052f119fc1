#include <emscripten/emscripten.h>

#include <string>

#include "planning/today.h"
#include "web/plan_page.h"

// The page's entry points. Each answer stays valid until the next call of its function;
// JavaScript copies it at once.
namespace {

// The text the last plan shows for checking and copying (web::PlanAnswer's `shown`).
std::string shown_plan;

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_plan(const char* query) {
    static std::string answer;
    answer = tarvex::web::PlanAnswer(query != nullptr ? query : "", tarvex::planning::LocalToday(),
                                     shown_plan);
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
