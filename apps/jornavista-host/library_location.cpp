#include "apps/jornavista-host/library_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "housing/jornavista_ids.h"
#include "platform/component/registry_store.h"

namespace jv::host {

namespace fs = std::filesystem;

std::string LibraryBesideHost() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const fs::path dir = exe.parent_path();
  // JV_LIBRARY_FROM_HOST: where the build tree puts the library, relative to the
  // host's own directory.
  for (const fs::path& candidate : {dir / "Jornavista.ocx", dir / JV_LIBRARY_FROM_HOST}) {
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  return {};
}

std::string ChooseLibrary(const std::optional<std::string>& option) {
  if (option) return *option;
  if (const char* named = std::getenv(kLibraryVariable); named != nullptr && *named != '\0') return named;
  return LibraryBesideHost();
}

bool NamesAFile(std::string_view word) {
  return word.find('/') != std::string_view::npos || word.ends_with(".ocx") || word.ends_with(".so");
}

HRESULT OpenLibrary(const std::string& what, OpenedLibrary* out, std::string* error) {
  OpenedLibrary opened;
  opened.clsid = jornavista::CLSID_ctrJornavista;
  opened.file = what;
  if (!NamesAFile(what)) {
    component::RegisteredClass found;
    const component::RegistryStore store(component::DefaultRegistryPath());
    JV_TRY(component::FindRegisteredClass(store, what, &found, error));
    opened.clsid = found.clsid;
    opened.file = found.server;
  }
  JV_TRY(component::ComponentLibrary::Load(opened.file, &opened.library, error));
  *out = std::move(opened);
  return S_OK;
}

}  // namespace jv::host
