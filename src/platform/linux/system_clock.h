#pragma once

#include "platform/clock.h"

namespace quillet {

class SystemClock : public Clock {
  public:
    TimeOfDay localTimeOfDay() override;
};

}  // namespace quillet
