// Where the JSON reader says a fault lies: the line and column of a parse error,
// of a fault the tree's builder finds, and the line of each value and key.
#include "apps/document/json_tree.h"

#include <gtest/gtest.h>

namespace jv::document {
namespace {

struct ErrorCase {
  const char* name;
  std::string text;
  int line;
  int column;
  const char* message_start;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class JsonErrorPositionTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(JsonErrorPositionTest, SaysWhere) {
  const ErrorCase& c = GetParam();
  JsonValue value;
  value.text = "untouched";
  const auto error = ReadJson(c.text, &value);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->line, c.line);
  EXPECT_EQ(error->column, c.column);
  EXPECT_EQ(error->message.rfind(c.message_start, 0), 0u) << error->message;
  EXPECT_EQ(value.text, "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonErrorPositionTest,
    ::testing::Values(
        // The byte the lexer stopped at.
        ErrorCase{"BadByteMidLine", "{\"a\": 1,\n  \"b\": x}", 2, 8, "syntax error"},
        // A newline inside a string is on the line it ends, where the string is.
        ErrorCase{"NewlineInString", "[\n\"ab\ncd\"]", 2, 4, "syntax error"},
        // The end of the text counts as one byte past the last.
        ErrorCase{"EndAfterNewline", "{\"a\": [\n", 2, 1, "syntax error"},
        ErrorCase{"EndMidLine", "[1, 2", 1, 6, "syntax error"},
        ErrorCase{"Empty", "", 1, 1, "syntax error"},
        // Faults the builder finds are where the reader was: after the key.
        ErrorCase{"DuplicateKey", "{\"a\": 1,\n \"a\": 2}", 2, 4, "duplicate key \"a\""},
        ErrorCase{"TooDeep", std::string(65, '[') + std::string(65, ']'), 1, 65, "nested more than 64"},
        ErrorCase{"ZeroByte", std::string("[1,\n 2\0, 3]", 11), 2, 3, "a zero byte at offset 6"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST(JsonTreeTest, ValuesAndKeysKnowTheirLines) {
  // A number is known to end only at the byte after it, here a newline: it stays
  // on its own line.
  JsonValue root;
  ASSERT_EQ(ReadJson("{\"a\": 12\n, \"b\":\n [true,\n 1.50e1]}", &root), std::nullopt);
  ASSERT_EQ(root.members.size(), 2u);
  EXPECT_EQ(root.line, 1);
  EXPECT_EQ(root.members[0].line, 1);
  EXPECT_EQ(root.members[0].value.line, 1);
  EXPECT_EQ(root.members[0].value.integer, 12);
  EXPECT_EQ(root.members[1].line, 2);
  const JsonValue& array = root.members[1].value;
  EXPECT_EQ(array.line, 3);
  ASSERT_EQ(array.items.size(), 2u);
  EXPECT_EQ(array.items[0].line, 3);
  EXPECT_EQ(array.items[1].line, 4);
  // A number with a fraction keeps the text as written.
  EXPECT_EQ(array.items[1].kind, JsonValue::Kind::kReal);
  EXPECT_EQ(array.items[1].text, "1.50e1");
}

}  // namespace
}  // namespace jv::document
