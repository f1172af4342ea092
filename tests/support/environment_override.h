// Environment variables that a test changes and that must be as they were when
// the test ends, whether it passed or not.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace jv::testing {

// Sets the variable, or unsets it for a null value.
inline void SetEnvironment(const char* name, const char* value) {
  if (value != nullptr) ::setenv(name, value, 1);
  else ::unsetenv(name);
}

// Remembers the variable's value (or its absence) and puts it back when done.
class SavedEnvironmentVariable {
 public:
  explicit SavedEnvironmentVariable(const char* name) : name_(name) {
    if (const char* before = std::getenv(name)) before_ = before;
  }
  ~SavedEnvironmentVariable() { SetEnvironment(name_.c_str(), before_ ? before_->c_str() : nullptr); }
  SavedEnvironmentVariable(const SavedEnvironmentVariable&) = delete;
  SavedEnvironmentVariable& operator=(const SavedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> before_;
};

// The variable holds `value` (a null one: unset) for as long as this lives.
class EnvironmentOverride : private SavedEnvironmentVariable {
 public:
  EnvironmentOverride(const char* name, const char* value) : SavedEnvironmentVariable(name) {
    SetEnvironment(name, value);
  }
};

// This process's registry store is the test's own file.
class RegistryStoreOverride : public EnvironmentOverride {
 public:
  explicit RegistryStoreOverride(const std::string& path) : EnvironmentOverride("JV_REGISTRY_FILE", path.c_str()) {}
};

}  // namespace jv::testing
