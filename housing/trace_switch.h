// The switch of the OLE side's call trace: on while the environment variable
// JV_TRACE is set to anything but "0", off otherwise, like a toolkit's debug channel.
// Read once, at the first call traced.
#pragma once

#include <windows.h>

namespace jv::housing {

inline bool TraceSwitchedOn() {
  static const bool on = [] {
    char value[2] = {};
    // The length without the terminator, or the size needed for a longer value.
    const DWORD length = GetEnvironmentVariableA("JV_TRACE", value, sizeof value);
    return length > 0 && !(length == 1 && value[0] == '0');
  }();
  return on;
}

}  // namespace jv::housing
