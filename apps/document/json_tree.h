// JSON text read into a tree that remembers the line of every value and key, so
// that whoever checks the tree's shape afterwards can say where a fault lies. The
// reader is a handler of nlohmann's SAX interface over an input that counts lines
// and columns (json_position_input.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jv::document {

struct JsonMember;

struct JsonValue {
  enum class Kind : std::uint8_t { kNull, kBoolean, kInteger, kReal, kString, kArray, kObject };

  Kind kind = Kind::kNull;
  int line = 0;  // where the value starts, counted from 1
  bool boolean = false;
  // kInteger: the value; a number without fraction or exponent that does not fit
  // 64 bits is a kReal.
  std::int64_t integer = 0;
  bool integer_is_unsigned = false;  // integer holds a uint64 above INT64_MAX
  double real = 0;
  std::string text;                 // kString: the decoded UTF-8 text; kReal: the number as written
  std::vector<JsonValue> items;     // kArray
  std::vector<JsonMember> members;  // kObject, in the order of the text

  // The member with that key, or null.
  const JsonMember* Find(std::string_view key) const;
};

struct JsonMember {
  std::string key;
  int line = 0;  // of the key
  JsonValue value;
};

// Limits that keep a hostile text from exhausting the stack or the memory of
// whoever walks the tree.
inline constexpr int kMaxJsonDepth = 64;
inline constexpr std::size_t kMaxJsonValues = 1'000'000;

struct JsonError {
  int line = 0;    // counted from 1
  int column = 0;  // the byte on that line, counted from 1; 0 when not known
  std::string message;
};

// Parses one JSON value that fills the whole text (blanks around it allowed).
// Strict JSON: no comments, no trailing commas, valid UTF-8, no duplicate key in
// an object. On failure *out is left as it was.
[[nodiscard]] std::optional<JsonError> ReadJson(std::string_view text, JsonValue* out);

// The name of a kind for messages: "an object", "a string", ...
std::string_view KindName(JsonValue::Kind kind);

}  // namespace jv::document
