// Reads a built component library's file without loading it: the resources of
// its ".jv_resources" section, its version record and its exported symbols, so
// that tests can check what the build wrote.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/hresult.h"
#include "platform/component/resource_section.h"

namespace jv::component {

struct VersionRecord {
  std::array<std::uint16_t, 4> file_version{};
  std::array<std::uint16_t, 4> product_version{};
  std::string translation;
  std::vector<std::pair<std::string, std::string>> strings;
};

struct Resource {
  std::string type;
  std::uint32_t id = 0;
  std::vector<std::uint8_t> data;
};

// Reading from a library file. A file that is no 64-bit little-endian ELF file,
// has no resource section, or whose section does not hold together fails with
// E_INVALIDARG (E_FAIL when the file cannot be read) and a message.
[[nodiscard]] HRESULT ReadResources(const std::string& path, std::vector<Resource>* out, std::string* error);
[[nodiscard]] HRESULT ReadVersionRecord(const std::string& path, VersionRecord* out, std::string* error);
[[nodiscard]] HRESULT DecodeVersionRecord(std::span<const std::uint8_t> data, VersionRecord* out,
                                          std::string* error);
// The names the file's dynamic symbol table defines for others to bind to.
[[nodiscard]] HRESULT ReadExportedSymbols(const std::string& path, std::vector<std::string>* out,
                                          std::string* error);

}  // namespace jv::component
