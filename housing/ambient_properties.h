// The container's ambient properties that decide how the control takes input:
// user mode (false while a form designer edits the form) and a dead user interface,
// read from the client site's IDispatch, or handed over by IQuickActivate. A site
// without IDispatch (ATL's) means user mode with a live interface. Also the ambient
// font a quick-activating container passes, which stands before the site's own.
#pragma once

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include "platform/automation/unknown.h"

namespace jv::housing {

class AmbientProperties {
 public:
  // Asks the site's IDispatch for DISPID_AMBIENT_USERMODE and DISPID_AMBIENT_UIDEAD;
  // a property the site does not answer keeps its default (user mode, live).
  void Read(IOleClientSite* site);
  // The flags of QACONTAINER::dwAmbientFlags and its font (null for none).
  void Take(DWORD quick_activate_flags, IFont* font);
  // Drops the quick-activation font, with the site it came with.
  void Forget() { font_.reset(); }

  bool user_mode() const { return user_mode_; }
  bool ui_dead() const { return ui_dead_; }
  // Clicks and keys reach the control only in user mode with a live interface:
  // in design mode they belong to the container's designer.
  bool takes_input() const { return user_mode_ && !ui_dead_; }
  IFont* font() const { return font_.get(); }

 private:
  bool user_mode_ = true;
  bool ui_dead_ = false;
  ComPtr<IFont> font_;
};

}  // namespace jv::housing
