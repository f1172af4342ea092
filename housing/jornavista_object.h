// The COM object that houses one ctrJornavista: the dual interface with dispatch
// by id, the two outgoing interfaces, persistence through a property bag, the
// class's type information, a copy of the state record for diagnostics
// (IControlState), and the container side the control talks to.
#pragma once

#include "platform/component/control_site.h"

namespace jv::housing {

// The class's creation function: builds the constituent controls on the site's
// runtime, or on a headless runtime of the instance's own when the site has none
// (or there is no site), and runs Initialize. A failed start-up fails creation.
[[nodiscard]] HRESULT CreatectrJornavista(IControlSite* site, REFIID riid, void** object);

}  // namespace jv::housing
