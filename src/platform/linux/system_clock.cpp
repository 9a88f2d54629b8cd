#include "platform/linux/system_clock.h"

#include <ctime>

namespace quillet {

TimeOfDay SystemClock::localTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) return TimeOfDay{};
    return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace quillet
