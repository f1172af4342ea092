// Where the host finds the component library, and the one way both of its
// containers open it: by path, or by programmatic identifier through the registry
// store.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/component/component_library.h"

namespace jv::host {

// The environment variable that names the library when no --library is given.
inline constexpr const char* kLibraryVariable = "JV_CONTROL_LIBRARY";

// Where a host that was told of no library finds one, relative to its own
// executable so that a moved or copied tree still works: Jornavista.ocx in the
// executable's directory, else where the build tree puts it beside the host.
// Empty when neither file exists.
std::string LibraryBesideHost();

// The library to open: `option` (the host's --library) when given, else
// $JV_CONTROL_LIBRARY when set and not empty, else LibraryBesideHost().
std::string ChooseLibrary(const std::optional<std::string>& option);

// A word that names a file rather than a programmatic identifier: it has a '/',
// or ends in ".ocx" or ".so".
bool NamesAFile(std::string_view word);

// A library opened for a class: the file serves the published class; any other
// word is a programmatic identifier (or a class identifier in registry form) that
// the registry store turns into a class and its file.
struct OpenedLibrary {
  std::unique_ptr<component::ComponentLibrary> library;
  CLSID clsid{};
  std::string file;
};

// Loads the library `what` names. On failure the status, *error says why, and
// *out is left as it was.
[[nodiscard]] HRESULT OpenLibrary(const std::string& what, OpenedLibrary* out, std::string* error);

}  // namespace jv::host
