#include "planning/today.h"

#include <chrono>
#include <ctime>

#include "planning/instant.h"

namespace tarvex::planning {

Date LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

SunClock MachineClock() {
    const std::chrono::duration<double> now = std::chrono::system_clock::now().time_since_epoch();
    return {now.count(), LocalUtcOffset};
}

}  // namespace tarvex::planning
