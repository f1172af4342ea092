// The class object of one creatable class: IClassFactory with LockServer, and the
// site-taking interface IClassFactorySite. Counted by the module while it lives.
#pragma once

#include "platform/component/control_site.h"

namespace jv::component {

// Creates one instance on `site` (may be null) and answers riid from it.
using CreateInstanceFunction = HRESULT (*)(IControlSite* site, REFIID riid, void** object);

[[nodiscard]] HRESULT CreateClassFactory(CreateInstanceFunction create, REFIID riid, void** object);

}  // namespace jv::component
