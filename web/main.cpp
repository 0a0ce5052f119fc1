#include <emscripten/emscripten.h>

#include <string>

#include "cli/plan_command.h"
#include "web/plan_page.h"

// The page's entry point. The answer stays valid until the next call; JavaScript copies it at once.
extern "C" EMSCRIPTEN_KEEPALIVE const char* tarvex_plan(const char* query) {
    static std::string answer;
    answer = tarvex::web::PlanAnswer(query != nullptr ? query : "", tarvex::TodayUtc());
    return answer.c_str();
}

int main() {
    return 0;
}
