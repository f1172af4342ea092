#include "housing/ole_trace.h"

#include <windows.h>

#include "housing/trace_switch.h"

namespace jv::housing {

void Trace(const char* call) {
  if (!TraceSwitchedOn()) return;
  std::string line = "Jornavista: ";
  line += call;
  line += '\n';
  OutputDebugStringA(line.c_str());
}

}  // namespace jv::housing
