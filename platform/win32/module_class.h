// The module (library or program) the calling code is linked into, and the
// registration of a window class of that module's, for every window class the
// component library registers.
#pragma once

#include <windows.h>

namespace jv::win32 {

// The module this code is linked into, from the address of its own code.
HINSTANCE ThisModule();

// Registers window class `name` of `module` with the arrow cursor and the system
// colour `background` as its brush. A class of that name already registered for
// the module is kept when its procedure is `proc`, and replaced otherwise: a
// library loaded again at another address registers its own.
[[nodiscard]] HRESULT RegisterModuleClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, UINT style,
                                          int background);

}  // namespace jv::win32
