// The fonts of the face's windows, made once per process for each design and
// screen resolution and shared by every face, on any thread: a font handle is
// the process's, and making the same fonts for each instance cost a GDI object
// and a font match each time. Nothing invalidates one: a font is named by its
// design and sized by the dpi, both in the key; the regional settings and the
// system's fonts do not enter it. They are deleted when the library is unloaded,
// when no face is left to use them.
#pragma once

#include <windows.h>

#include "platform/runtime/layout.h"

namespace jv::win32 {

// MS Sans Serif at 8 points at `dpi` (CreateDefaultFont's); null when the system
// makes no font, asked again next time.
HFONT SharedDefaultFont(int dpi);
// A design font at `dpi` (CreateDesignFont's); null as above.
HFONT SharedDesignFont(const platform::FontDesign& design, int dpi);

}  // namespace jv::win32
