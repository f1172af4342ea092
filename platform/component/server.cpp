#include "platform/component/server.h"

#include "platform/automation/font_disp.h"
#include "platform/automation/std_font.h"
#include "platform/component/module.h"

namespace jv::component {

HRESULT GetClassObject(const ComponentDesc& component, REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const ClassDesc& k : component.classes)
    if (k.clsid == clsid) return CreateClassFactory(k.create, riid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// The fonts a library hands out (an instance's own standard font, a font read
// from a saved record, the IFontDisp view of either) outlive the instance when a
// client keeps them: their code is the library's, so they hold it as an instance
// does. Each library links its own copy of these counters.
HRESULT CanUnloadNow() {
  const bool fonts_alive = LiveStdFontCount() != 0 || LiveFontDispatchCount() != 0;
  return ModuleLock::CanUnload() && !fonts_alive ? S_OK : S_FALSE;
}

}  // namespace jv::component
