// The OLE side's ambient properties: read from the client site at activation and
// on OnAmbientPropertyChange, or taken from a quick-activating container, and
// passed on to the face, which takes input only in user mode.
#include "housing/ole_control.h"
#include "housing/ole_trace.h"

namespace jv::housing {

void OleControl::ReadAmbient() {
  if (!client_site_) ambient_.Forget();
  ambient_.Read(client_site_.get());
  face_.SetTakesInput(ambient_.takes_input());
  TraceCall(std::string("ambient user mode ") + (ambient_.user_mode() ? "on" : "off") +
            (ambient_.ui_dead() ? ", interface dead" : ""));
}

void OleControl::TakeQuickActivateAmbient(DWORD flags, IFont* font) {
  ambient_.Take(flags, font);
  face_.SetTakesInput(ambient_.takes_input());
  TraceCall(std::string("quick-activation user mode ") + (ambient_.user_mode() ? "on" : "off") +
            (ambient_.ui_dead() ? ", interface dead" : ""));
}

}  // namespace jv::housing
