#pragma once

namespace quillet {

struct TimeOfDay {
    int hours = 0;  // 0 to 23
    int minutes = 0;
    int seconds = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual TimeOfDay localTimeOfDay() = 0;
};

}  // namespace quillet
