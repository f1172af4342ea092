// The checks of a JSON value's shape that the document's readers share: each fails
// with the line of the value it names and a message that says what was expected;
// the caller adds the source name.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "apps/document/json_tree.h"
#include "platform/automation/literal_text.h"

namespace jv::document {

class JsonShape {
 public:
  using Kind = JsonValue::Kind;

  static JsonError At(int line, std::string message) { return JsonError{line, 0, std::move(message)}; }

  static std::optional<JsonError> Expect(const JsonValue& v, Kind kind, std::string_view what) {
    if (v.kind == kind) return std::nullopt;
    return At(v.line, std::string(what) + " is " + std::string(KindName(v.kind)) + ", expected " +
                          std::string(KindName(kind)));
  }

  static std::optional<JsonError> OnlyKeys(const JsonValue& object,
                                           std::initializer_list<std::string_view> keys,
                                           std::string_view what) {
    for (const JsonMember& m : object.members) {
      bool known = false;
      for (std::string_view k : keys) known |= m.key == k;
      if (known) continue;
      std::string list;
      for (std::string_view k : keys) list += (list.empty() ? "" : ", ") + Quoted(k);
      return At(m.line,
                "unknown key " + Quoted(m.key) + " in " + std::string(what) + " (expected " + list + ")");
    }
    return std::nullopt;
  }

  static std::optional<JsonError> Require(const JsonValue& object, std::string_view key,
                                          std::string_view what, const JsonMember** out) {
    *out = object.Find(key);
    if (*out != nullptr) return std::nullopt;
    return At(object.line, std::string(what) + " has no " + Quoted(key));
  }

  static std::optional<JsonError> Integer(const JsonMember& m, std::int64_t lo, std::int64_t hi,
                                          std::string_view what, std::int64_t* out) {
    const JsonValue& v = m.value;
    // A whole number too large for 64 bits reads as a real: it is out of range,
    // not a number with a fraction.
    if (v.kind == Kind::kReal && v.text.find_first_of(".eE") == std::string::npos)
      return At(m.line, std::string(what) + " must be from " + std::to_string(lo) + " to " +
                            std::to_string(hi) + ", not " + v.text);
    if (v.kind != Kind::kInteger)
      return At(m.line, std::string(what) + " is " + std::string(KindName(v.kind)) + ", expected an integer");
    if (v.integer_is_unsigned || v.integer < lo || v.integer > hi) {
      const std::string written = v.integer_is_unsigned
                                      ? std::to_string(static_cast<std::uint64_t>(v.integer))
                                      : std::to_string(v.integer);
      return At(m.line, std::string(what) + " must be from " + std::to_string(lo) + " to " +
                            std::to_string(hi) + ", not " + written);
    }
    *out = v.integer;
    return std::nullopt;
  }

  static std::optional<JsonError> String(const JsonMember& m, std::string_view what, bool allow_empty,
                                         std::string* out) {
    if (auto e = Expect(m.value, Kind::kString, what)) return At(m.line, e->message);
    if (!allow_empty && m.value.text.empty()) return At(m.line, std::string(what) + " is empty");
    *out = m.value.text;
    return std::nullopt;
  }
};

}  // namespace jv::document
