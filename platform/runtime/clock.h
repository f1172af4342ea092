// Where today's date comes from. The control never reads the system clock itself:
// a host or a test sets the clock the runtime hands it.
#pragma once

#include "platform/automation/types.h"

namespace jv::platform {

class Clock {
 public:
  // Today's date without time of day.
  virtual DATE Today() const = 0;

 protected:
  ~Clock() = default;
};

}  // namespace jv::platform
