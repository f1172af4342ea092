// What a registry store's file must hold to be a store: the format and version,
// the four sections of entries, known fields of the right types, no key twice and
// no NUL byte. The store refuses, and never rewrites, a file that is not one.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace jv::component {

// {"format": "jornavista-registry", "version": 1, "classes": {}, "progids": {},
// "typelibs": {}, "interfaces": {}}.
nlohmann::json EmptyRegistryDocument();

// Why `document` is not a store, or empty when it is one. An entry may lack any
// field; a field this runtime reads or writes must have its type.
std::string ValidateRegistryDocument(const nlohmann::json& document);

// Reads the whole text as a store into *out; gives why it is none (the offset of a
// NUL byte, a key an object holds twice, what Validate finds), or empty.
std::string ParseRegistryDocument(const std::string& text, nlohmann::json* out);

}  // namespace jv::component
