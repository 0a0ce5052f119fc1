#include <emscripten/emscripten.h>

#include <string>

#include "cli/plan_command.h"
#include "web/plan_page.h"

// The page's entry points. Each answer stays valid until the next call of its function;
// JavaScript copies it at once.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_plan(const char* query) {
    static std::string answer;
    answer = tarvex::web::PlanAnswer(query != nullptr ? query : "", tarvex::TodayUtc());
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
