#include "platform/linux/system_clock.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <ctime>

namespace quillet {
namespace {

// Nine hours east of UTC, so a clock that ignored the zone would be caught.
TEST(SystemClock, GivesTheLocalTimeOfDay) {
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "JST-9");
    ::tzset();
    SystemClock clock;
    TimeOfDay local;
    std::time_t before = 0, after = 1;
    for (int attempt = 0; attempt < 5 && before != after; ++attempt) {
        before = std::time(nullptr);
        local = clock.localTimeOfDay();
        after = std::time(nullptr);
    }
    if (hadZone) {
        qputenv("TZ", saved);
    } else {
        qunsetenv("TZ");
    }
    ::tzset();
    const long secondsOfDay = static_cast<long>((before + 9 * 3600) % 86400);
    EXPECT_EQ(local.hours, secondsOfDay / 3600);
    EXPECT_EQ(local.minutes, secondsOfDay / 60 % 60);
    EXPECT_EQ(local.seconds, secondsOfDay % 60);
}

}  // namespace
}  // namespace quillet
