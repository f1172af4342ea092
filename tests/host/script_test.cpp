// The scripting host: checked scripts, refused lines, and what it prints.
#include "apps/jornavista-host/script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

namespace jv::host {
namespace {

// The host reads the regional settings from the environment once per process.
class EnglishEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { setenv("LC_ALL", "en_US.UTF-8", 1); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EnglishEnvironment);

struct Result {
  int status;
  std::string out, err;
};

std::shared_ptr<FormLibrary> Library() {
  std::shared_ptr<FormLibrary> library;
  const auto error = FormLibrary::Open(JV_OCX_PATH, &library);
  EXPECT_EQ(error, std::nullopt) << error.value_or("");
  return library;
}

Result RunHost(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  auto form = MakeHeadlessDriver(Library());
  const int status = RunScript(in, *form, out, err);
  return {status, out.str(), err.str()};
}

// Runs a script that must succeed; each line it printed, read as JSON. A failed
// run is reported and gives no lines.
std::vector<nlohmann::json> OutputLines(const std::string& script) {
  const Result r = RunHost(script);
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<nlohmann::json> lines;
  if (r.status != 0) return lines;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  return lines;
}

TEST(ScriptTest, ReproducesTheDayClickExample) {
  const auto lines = OutputLines(
      "today 2003-11-09\n"
      "create\n"
      "state   # after start-up\n"
      "click 20\n"
      "state\n"
      "get SDate\n");
  ASSERT_EQ(lines.size(), 3u);
  const auto& start = lines[0];
  EXPECT_EQ(start["m_SelCell"], 0);
  EXPECT_EQ(start["m_FirstCell"], 7);
  EXPECT_EQ(start["m_LastCell"], 36);
  EXPECT_EQ(start["m_StartDayText"], "9");
  EXPECT_EQ(start["m_MonthStart"], "2003-11-01");
  EXPECT_EQ(start["m_SelDate"], "2003-11-09");
  EXPECT_EQ(start["cells"][14]["caption"], "9");
  EXPECT_EQ(start["cells"][14]["back"], 0x8000000Du);
  EXPECT_EQ(start["txtYear"], "November, 2003");
  EXPECT_EQ(start["txtDate"], "11/9/2003");
  EXPECT_EQ(start["focus"], nullptr);
  EXPECT_EQ(start["changed"], nlohmann::json::array());
  const auto& clicked = lines[1];
  EXPECT_EQ(clicked["m_SelCell"], 20);
  EXPECT_EQ(clicked["m_SelDate"], "2003-11-14");
  EXPECT_EQ(clicked["m_StartDayText"], "9");
  EXPECT_EQ(clicked["cells"][19]["fore"], 0x8000000Eu);
  EXPECT_EQ(clicked["cells"][14]["back"], 0x80000005u);
  EXPECT_EQ(clicked["cells"][14]["fore"], 0);
  EXPECT_EQ(clicked["txtDate"], "11/14/2003");
  EXPECT_EQ(clicked["focus"], "Picture1");
  EXPECT_EQ(clicked["changed"], nlohmann::json::array({"SDate"}));
  EXPECT_EQ(lines[2], "11/14/2003");
}

TEST(ScriptTest, StateHasExactlyTheDocumentedKeysInOrder) {
  const Result r = RunHost("today 2003-11-09\ncreate\nstate\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::ordered_json state = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (const auto& [key, value] : state.items()) keys.push_back(key);
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "m_SelCell", "m_LastCell", "m_FirstCell", "m_StartDayText", "m_MonthStart", "m_CurDate",
                      "m_SelDate", "m_BackColor", "m_ForeColor", "m_Enabled", "m_Font", "m_BackStyle",
                      "m_BorderStyle", "cells", "txtYear", "txtDate", "focus", "changed"}));
  EXPECT_EQ(state["cells"].size(), 42u);
}

struct Refused {
  const char* script;
  const char* error;  // the start of the message on standard error
};

class RefusedScriptTest : public ::testing::TestWithParam<Refused> {};

// A malformed line stops the script before anything of it runs.
TEST_P(RefusedScriptTest, NamesTheLineAndRunsNothing) {
  const Result r = RunHost(std::string("today 2003-11-09\ncreate\nstate\n") + GetParam().script + "\n");
  EXPECT_EQ(r.status, 2) << GetParam().script;
  EXPECT_EQ(r.out, "") << GetParam().script;
  EXPECT_EQ(r.err.rfind(GetParam().error, 0), 0u) << GetParam().script << " gave: " << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedScriptTest,
    ::testing::Values(Refused{"bogus", "4: unknown command 'bogus'"},
                      Refused{"click 43", "4: no day cell 43"}, Refused{"click 0", "4: no day cell 0"},
                      Refused{"click two", "4: no day cell two"}, Refused{"click", "4: usage: click N"},
                      Refused{"today 2003-02-29", "4: not a date"},
                      Refused{"today 0099-12-31", "4: not a date"}, Refused{"key Sideways", "4: not a key"},
                      Refused{"key Down 9", "4: SHIFT is 0 to 7"}, Refused{"key 70000", "4: not a key"},
                      Refused{"fail NoSuchOperation", "4: unknown operation"},
                      Refused{"fail l.Item 0", "4: N is a call count"},
                      Refused{"put SDate \"unterminated", "4: not a JSON string literal"},
                      Refused{"get Nothing", "4: usage: get"}, Refused{"state now", "4: usage: state"}));

TEST(ScriptTest, CommandsBeforeCreateAreRefused) {
  const Result r = RunHost("# nothing yet\nclick 1\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "2: click: no control yet: run create first\n");
}

TEST(ScriptTest, TextArgumentsKeepEveryCharacter) {
  const auto lines = OutputLines(
      "create\n"
      "put SDate \"a # b \\u00e7\\u00e3o \\ud83d\\udcc5\"\n"
      "get SDate\n"
      "put SDate  plain text, kept as it stands # but not the comment\n"
      "get SDate\n"
      "put SDate \"\"\n"
      "get SDate\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "a # b \u00e7\u00e3o \U0001F4C5");
  EXPECT_EQ(lines[1], "plain text, kept as it stands");
  EXPECT_EQ(lines[2], "");
}

TEST(ScriptTest, InjectedFaultsShowAsTheMembersStatus) {
  const Result r = RunHost(
      "today 2003-11-09\ncreate\n"
      "fail txtDate.Text.put 1\n"
      "put SDate x\n"
      "get SDate\n"
      "fail l.Item\n"
      "key Down\n"
      "state\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream out(r.out);
  std::string status, text, state;
  std::getline(out, status);
  std::getline(out, text);
  std::getline(out, state);
  EXPECT_EQ(status, "status 0x80004005");
  EXPECT_EQ(text, "\"11/9/2003\"");
  const auto j = nlohmann::json::parse(state);
  EXPECT_EQ(j["m_SelCell"], 7) << "the key moved the cursor, then the cell fetch failed";
  EXPECT_EQ(j["changed"], nlohmann::json::array());
}

TEST(ScriptTest, PagingFromBothEndsOfTheRangeChangesNothing) {
  const Result r = RunHost("today 9999-12-31\ncreate\nnext\nkey PageDown\nstate\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["m_CurDate"], "9999-12-31");
  EXPECT_EQ(j["txtYear"], "December, 9999");
}

}  // namespace
}  // namespace jv::host
