// The registry of component libraries on this platform: a JSON file that people
// can read, changed under a lock and replaced atomically, so that two processes
// registering at once both land and a crash never leaves half a file.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/automation/ocidl.h"  // the REGDB_E_* statuses
#include "platform/component/registry_document.h"

namespace jv::component {

// Where the store lives: $JV_REGISTRY_FILE when set (tests, a system-wide
// install), else $XDG_DATA_HOME/jornavista/registry.json, else
// $HOME/.local/share/jornavista/registry.json. Empty when none of them is set.
std::string DefaultRegistryPath();

// The document: {"format": "jornavista-registry", "version": 1, "classes": {...},
// "progids": {...}, "typelibs": {...}, "interfaces": {...}}. Each section is an
// object keyed by identifier. A missing file is an empty store. A file that is not
// such a document is damaged: it is reported with REGDB_E_INVALIDVALUE and a
// message, and never rewritten, so that what it holds can still be rescued. That
// includes a NUL byte anywhere in the file, a key an object holds twice, and a
// known field of an entry with a value of the wrong type (a "clsid" that is a
// number). A store path that is a symbolic link is followed: the file it points to
// is locked, read and replaced, and the link stays.
class RegistryStore {
 public:
  explicit RegistryStore(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // Reads the store under a shared lock.
  [[nodiscard]] HRESULT Read(nlohmann::json* out, std::string* error) const;

  // Under an exclusive lock, reads the store, lets `change` edit it and writes it
  // back through a temporary file that is synced and renamed over the store. A
  // change that fails, or answers S_FALSE (nothing to change), writes nothing.
  [[nodiscard]] HRESULT Update(const std::function<HRESULT(nlohmann::json&)>& change, std::string* error);

  // Why an Update would fail now, found the way an Update fails, without changing
  // the store: a damaged document, or the system's reason the store's folder, lock
  // or temporary file cannot be made. S_OK when an Update could write. For callers
  // of the registration entry points, which report a status without its reason.
  [[nodiscard]] HRESULT CheckWritable(std::string* error);

  // An empty document of the current format.
  static nlohmann::json EmptyDocument() { return EmptyRegistryDocument(); }
  // Why `document` is not a store, or empty when it is one.
  static std::string Validate(const nlohmann::json& document) { return ValidateRegistryDocument(document); }

 private:
  // Resolves the path, makes its folder, takes the exclusive lock and reads the
  // document, then runs `step` on the real path and the document.
  HRESULT Locked(const std::function<HRESULT(const std::string& real_path, nlohmann::json&)>& step,
                 std::string* error);

  std::string path_;
};

}  // namespace jv::component
