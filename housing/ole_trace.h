// The trace of the calls a container makes on the control's OLE parts: one line
// each on the debugger's output ("Jornavista: ..."; under Wine, +debugstr).
#pragma once

#include <windows.h>

#include <string>

namespace jv::housing {

inline void TraceCall(const std::string& call) { OutputDebugStringA(("Jornavista: " + call + "\n").c_str()); }

}  // namespace jv::housing
