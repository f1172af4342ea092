// The trace of the calls a container makes on the control's OLE parts, through the
// OLE side's one trace (ole_control.cpp): "Jornavista: ..." on the debugger's
// output (under Wine, +debugstr).
#pragma once

#include <string>

namespace jv::housing {

void Trace(const char* call);

inline void TraceCall(const std::string& call) { Trace(call.c_str()); }

}  // namespace jv::housing
