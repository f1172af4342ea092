#include "platform/component/registry_document.h"

#include <set>
#include <span>
#include <string_view>
#include <vector>

namespace jv::component {

namespace {

constexpr const char* kFormat = "jornavista-registry";
constexpr int kFormatVersion = 1;
constexpr const char* kSections[] = {"classes", "progids", "typelibs", "interfaces"};

// The fields this runtime reads or writes in each kind of entry, with their JSON
// types. An entry may lack any of them; one of another type is damage, which a
// registration would otherwise overwrite or trip over.
enum class FieldType { kString, kBool, kInteger, kObject, kArray };
struct Field {
  const char* name;
  FieldType type;
};
constexpr Field kClassFields[] = {
    {"name", FieldType::kString},        {"progid", FieldType::kString},
    {"server", FieldType::kString},      {"threading", FieldType::kString},
    {"control", FieldType::kBool},       {"events", FieldType::kString},
    {"misc_status", FieldType::kString}, {"toolbox_bitmap", FieldType::kObject},
    {"property_pages", FieldType::kArray}, {"typelib", FieldType::kString},
    {"version", FieldType::kString},
};
constexpr Field kProgIdFields[] = {{"clsid", FieldType::kString}, {"name", FieldType::kString}};
constexpr Field kInterfaceFields[] = {{"name", FieldType::kString},
                                      {"kind", FieldType::kString},
                                      {"typelib", FieldType::kString},
                                      {"version", FieldType::kString}};
constexpr Field kTypeLibFields[] = {{"name", FieldType::kString}, {"help", FieldType::kString},
                                    {"lcid", FieldType::kString}, {"path", FieldType::kString},
                                    {"flags", FieldType::kInteger}};
constexpr Field kBitmapFields[] = {{"file", FieldType::kString}, {"resource", FieldType::kInteger}};

bool HasType(const nlohmann::json& v, FieldType type) {
  switch (type) {
    case FieldType::kString:
      return v.is_string();
    case FieldType::kBool:
      return v.is_boolean();
    case FieldType::kInteger:
      return v.is_number_integer();
    case FieldType::kObject:
      return v.is_object();
    case FieldType::kArray:
      return v.is_array();
  }
  return false;
}

const char* TypeName(FieldType type) {
  switch (type) {
    case FieldType::kString:
      return "a string";
    case FieldType::kBool:
      return "true or false";
    case FieldType::kInteger:
      return "a whole number";
    case FieldType::kObject:
      return "an object";
    case FieldType::kArray:
      return "an array";
  }
  return "";
}

// Why a field of `entry` (named `where` in messages) has the wrong type, or empty.
std::string CheckFields(const nlohmann::json& entry, std::span<const Field> fields, const std::string& where) {
  for (const Field& f : fields) {
    const auto v = entry.find(f.name);
    if (v != entry.end() && !HasType(*v, f.type))
      return where + ": \"" + f.name + "\" is not " + TypeName(f.type);
  }
  return {};
}

std::string CheckEntry(std::string_view section, const std::string& key, const nlohmann::json& entry) {
  // Appended piece by piece: GCC 12 at -O3 misreads "..." + std::string(...) (-Wrestrict).
  std::string where = "\"";
  where.append(section).append("\" entry ").append(key);
  if (section == "classes") {
    if (std::string why = CheckFields(entry, kClassFields, where); !why.empty()) return why;
    if (const auto bitmap = entry.find("toolbox_bitmap"); bitmap != entry.end())
      if (std::string why = CheckFields(*bitmap, kBitmapFields, where + " toolbox_bitmap"); !why.empty())
        return why;
    if (const auto pages = entry.find("property_pages"); pages != entry.end())
      for (const nlohmann::json& page : *pages)
        if (!page.is_string()) return where + ": \"property_pages\" holds something other than a string";
    return {};
  }
  if (section == "progids") return CheckFields(entry, kProgIdFields, where);
  if (section == "interfaces") return CheckFields(entry, kInterfaceFields, where);
  // A type library's entry holds one object per version.
  for (const auto& [version, lib] : entry.items()) {
    if (!lib.is_object()) return where + ": version " + version + " is not an object";
    if (std::string why = CheckFields(lib, kTypeLibFields, where + " version " + version); !why.empty())
      return why;
  }
  return {};
}

// Notes the first key that an object holds twice while the document is parsed:
// the JSON reader would keep the last and drop the others without a word.
class DuplicateKeys {
 public:
  bool operator()(int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if (event == Event::object_start) {
      open_.push_back({{}, open_.empty() ? "the document" : "\"" + open_.back().last_key + "\"", {}});
    } else if (event == Event::object_end && !open_.empty()) {
      open_.pop_back();
    } else if (event == Event::key && !open_.empty() && parsed.is_string()) {
      Level& level = open_.back();
      level.last_key = parsed.get<std::string>();
      if (!level.keys.insert(level.last_key).second && found_.empty())
        found_ = level.name + " holds the key \"" + level.last_key + "\" twice";
    }
    return true;
  }
  const std::string& found() const { return found_; }

 private:
  struct Level {
    std::set<std::string> keys;
    std::string name;
    std::string last_key;
  };
  std::vector<Level> open_;
  std::string found_;
};

}  // namespace

nlohmann::json EmptyRegistryDocument() {
  nlohmann::json doc = nlohmann::json::object();
  doc["format"] = kFormat;
  doc["version"] = kFormatVersion;
  for (const char* s : kSections) doc[s] = nlohmann::json::object();
  return doc;
}

std::string ValidateRegistryDocument(const nlohmann::json& doc) {
  if (!doc.is_object()) return "the document is not an object";
  const auto format = doc.find("format");
  if (format == doc.end() || *format != kFormat) return "\"format\" is not \"jornavista-registry\"";
  const auto version = doc.find("version");
  if (version == doc.end() || !version->is_number_integer()) return "\"version\" is not a number";
  if (*version != kFormatVersion) return "version " + version->dump() + " is not one this runtime reads";
  for (const char* s : kSections) {
    const auto section = doc.find(s);
    if (section == doc.end() || !section->is_object()) return std::string("\"") + s + "\" is not an object";
    for (const auto& [key, value] : section->items()) {
      if (!value.is_object()) return std::string("\"") + s + "\" entry " + key + " is not an object";
      if (std::string why = CheckEntry(s, key, value); !why.empty()) return why;
    }
  }
  return {};
}

std::string ParseRegistryDocument(const std::string& text, nlohmann::json* out) {
  // The JSON reader stops at a NUL byte and would take what comes before it for
  // the whole store; the next write would then drop the rest.
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos)
    return "a NUL byte at offset " + std::to_string(nul);
  DuplicateKeys duplicates;
  nlohmann::json doc = nlohmann::json::parse(text, std::ref(duplicates), false);
  if (doc.is_discarded()) return "not JSON";
  if (!duplicates.found().empty()) return duplicates.found();
  if (std::string why = ValidateRegistryDocument(doc); !why.empty()) return why;
  *out = std::move(doc);
  return {};
}

}  // namespace jv::component
