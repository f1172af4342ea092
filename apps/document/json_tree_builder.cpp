#include "apps/document/json_tree.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <nlohmann/json.hpp>
#include <set>

#include "apps/document/json_position_input.h"

namespace jv::document {

namespace {

using Json = nlohmann::json;

// Builds the tree from the parser's events. Every event comes right after its
// token was read, and a token ends in the byte read last, except a number, which
// the lexer knows to have ended only after reading one byte more; a newline
// belongs to the line it ends, so that byte never moves the number to the next line.
class TreeBuilder final : public nlohmann::json_sax<Json> {
 public:
  explicit TreeBuilder(const ReadPositions& positions, std::size_t text_size)
      : positions_(positions), text_size_(text_size) {}

  bool null() override { return Scalar(JsonValue{}); }
  bool boolean(bool b) override {
    JsonValue v;
    v.kind = JsonValue::Kind::kBoolean;
    v.boolean = b;
    return Scalar(std::move(v));
  }
  bool number_integer(Json::number_integer_t i) override {
    JsonValue v;
    v.kind = JsonValue::Kind::kInteger;
    v.integer = i;
    return Scalar(std::move(v));
  }
  bool number_unsigned(Json::number_unsigned_t u) override {
    JsonValue v;
    v.kind = JsonValue::Kind::kInteger;
    v.integer = static_cast<std::int64_t>(u);
    v.integer_is_unsigned = u > static_cast<Json::number_unsigned_t>(INT64_MAX);
    return Scalar(std::move(v));
  }
  bool number_float(Json::number_float_t d, const Json::string_t& written) override {
    JsonValue v;
    v.kind = JsonValue::Kind::kReal;
    v.real = d;
    v.text = written;
    return Scalar(std::move(v));
  }
  bool string(Json::string_t& s) override {
    JsonValue v;
    v.kind = JsonValue::Kind::kString;
    v.text = std::move(s);
    return Scalar(std::move(v));
  }
  bool binary(Json::binary_t&) override { return Fail("binary values are not JSON text"); }

  bool start_object(std::size_t) override { return Open(JsonValue::Kind::kObject); }
  bool key(Json::string_t& k) override {
    Level& level = open_.back();
    if (!level.keys.insert(k).second) return Fail("duplicate key \"" + k + "\"");
    JsonMember member;
    member.key = std::move(k);
    member.line = Line();
    level.value->members.push_back(std::move(member));
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(JsonValue::Kind::kArray); }
  bool end_array() override { return Close(); }

  // nlohmann counts a position one past the byte it complains about, the end of
  // the text as one byte more.
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& e) override {
    const TextPosition at = positions_.At(std::min(position > 0 ? position - 1 : 0, text_size_));
    error_ = JsonError{at.line, at.column, CleanMessage(e.what())};
    return false;
  }

  const std::optional<JsonError>& error() const { return error_; }
  JsonValue TakeRoot() { return std::move(root_); }

 private:
  struct Level {
    JsonValue* value;
    std::set<std::string> keys;
  };

  // "[json.exception.parse_error.101] parse error at line 2, column 3: syntax
  // error ..." keeps only what is wrong; the caller says where.
  static std::string CleanMessage(std::string_view what) {
    if (const std::size_t bracket = what.find("] "); bracket != std::string_view::npos)
      what.remove_prefix(bracket + 2);
    if (what.starts_with("parse error"))
      if (const std::size_t colon = what.find(": "); colon != std::string_view::npos)
        what.remove_prefix(colon + 2);
    return std::string(what);
  }

  int Line() const { return positions_.Last().line; }

  bool Fail(std::string message) {
    const TextPosition at = positions_.Last();
    error_ = JsonError{at.line, at.column, std::move(message)};
    return false;
  }

  bool Count() {
    if (++values_ > kMaxJsonValues) return Fail("more than " + std::to_string(kMaxJsonValues) + " values");
    return true;
  }

  // Where the next value goes: the root, the open array, or the member whose key
  // was read last.
  JsonValue* Slot() {
    if (open_.empty()) return &root_;
    JsonValue* parent = open_.back().value;
    if (parent->kind == JsonValue::Kind::kArray) {
      parent->items.emplace_back();
      return &parent->items.back();
    }
    return &parent->members.back().value;
  }

  bool Scalar(JsonValue v) {
    if (!Count()) return false;
    v.line = Line();
    *Slot() = std::move(v);
    return true;
  }

  bool Open(JsonValue::Kind kind) {
    if (!Count()) return false;
    if (open_.size() >= static_cast<std::size_t>(kMaxJsonDepth))
      return Fail("nested more than " + std::to_string(kMaxJsonDepth) + " levels deep");
    JsonValue* slot = Slot();
    slot->kind = kind;
    slot->line = Line();
    // Siblings are added only after this container is closed, so the pointer
    // stays valid while it is open.
    open_.push_back(Level{slot, {}});
    return true;
  }

  bool Close() {
    open_.pop_back();
    return true;
  }

  const ReadPositions& positions_;
  std::size_t text_size_;
  JsonValue root_;
  std::vector<Level> open_;
  std::size_t values_ = 0;
  std::optional<JsonError> error_;
};

}  // namespace

const JsonMember* JsonValue::Find(std::string_view key) const {
  for (const JsonMember& m : members)
    if (m.key == key) return &m;
  return nullptr;
}

std::string_view KindName(JsonValue::Kind kind) {
  switch (kind) {
    case JsonValue::Kind::kNull:
      return "null";
    case JsonValue::Kind::kBoolean:
      return "a boolean";
    case JsonValue::Kind::kInteger:
      return "an integer";
    case JsonValue::Kind::kReal:
      return "a number with a fraction";
    case JsonValue::Kind::kString:
      return "a string";
    case JsonValue::Kind::kArray:
      return "an array";
    case JsonValue::Kind::kObject:
      return "an object";
  }
  return "a value";
}

std::optional<JsonError> ReadJson(std::string_view text, JsonValue* out) {
  // The parser takes a zero byte for the end of the text, which would let
  // anything after it pass unread: the whole text is the value.
  if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
    ReadPositions positions;
    for (std::size_t i = 0; i < zero; ++i) positions.Read(i, text[i]);
    const TextPosition at = positions.At(zero);
    return JsonError{at.line, at.column, "a zero byte at offset " + std::to_string(zero) + ": not JSON text"};
  }
  ReadPositions positions;
  TreeBuilder builder(positions, text.size());
  bool ok = false;
  try {
    ok = Json::sax_parse(PositionCountingIterator(text, 0, &positions),
                         PositionCountingIterator(text, text.size(), &positions), &builder);
  } catch (const std::bad_alloc&) {
    return JsonError{1, 0, "out of memory"};
  } catch (const std::exception& e) {
    return JsonError{1, 0, e.what()};
  }
  if (!ok) {
    if (builder.error()) return builder.error();
    return JsonError{1, 0, "not a JSON text"};
  }
  *out = builder.TakeRoot();
  return std::nullopt;
}

}  // namespace jv::document
