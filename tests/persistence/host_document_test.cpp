// The host's document commands: every property through a document on disk and
// back, forms of many controls, and the failures as the host reports them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "apps/jornavista-host/script.h"
#include "tests/support/built_library.h"
#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;

class EnglishEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { setenv("LC_ALL", "en_US.UTF-8", 1); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EnglishEnvironment);

std::shared_ptr<FormLibrary> Library() {
  std::shared_ptr<FormLibrary> library;
  testing::OpenBuiltLibrary(&library);
  return library;
}

using testing::ReadWholeFile;

class HostDocumentTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return scratch_.File(name); }

  // Runs the script on this test's form, which persists from one Run to the next.
  int Run(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    const int status = RunScript(in, *form_, out, err);
    out_ = out.str();
    err_ = err.str();
    return status;
  }
  std::vector<std::string> OutLines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  nlohmann::json State() {
    EXPECT_EQ(Run("state\n"), 0) << err_;
    return nlohmann::json::parse(out_);
  }

  testing::ScratchFolder scratch_{"jv-host"};
  std::unique_ptr<FormDriver> form_ = MakeHeadlessDriver(Library());
  std::string out_, err_;
};

TEST_F(HostDocumentTest, EveryPropertyRoundTripsThroughADocumentOnDisk) {
  const std::string doc = File("form.json");
  ASSERT_EQ(Run("today 2003-11-09\nnew\n"
                "put BackColor 255\nput ForeColor &H80000008\nput Enabled true\nput BackStyle -1\n"
                "put BorderStyle 7\nput Font {\"Name\":\"Arial\",\"Size\":12,\"Italic\":true}\n"
                "set Font.Size 14.25\nput SDate \"14/11/2003 \\u00e7 \\ud83d\\udcc5\"\nsave " +
                doc + "\n"),
            0)
      << err_;
  ASSERT_EQ(Run("today 2004-02-29\nload " + doc +
                "\nget BackColor\nget ForeColor\nget Enabled\nget BackStyle\nget BorderStyle\nget Font\nget "
                "SDate\n"),
            0)
      << err_;
  EXPECT_EQ(OutLines(), (std::vector<std::string>{
                            "255", "2147483656", "true", "-1", "7",
                            R"({"Name":"Arial","Size":14.25,"Bold":false,"Italic":true,"Underline":false,)"
                            R"("Strikethrough":false,"Weight":400,"Charset":0})",
                            "\"14/11/2003 \u00e7 \U0001F4C5\""}));
  const nlohmann::json s = State();
  EXPECT_EQ(s["m_SelDate"], "2004-02-29") << "the grid shows today, not the restored text";
  EXPECT_EQ(s["cells"][28]["back"], 0x8000000Du);  // 1 February 2004 is a Sunday
  EXPECT_EQ(s["txtDate"], "14/11/2003 \u00e7 \U0001F4C5");
  EXPECT_EQ(s["changed"], nlohmann::json::array());
}

TEST_F(HostDocumentTest, DefaultsAreLeftOutAndFontNoneIsKept) {
  const std::string doc = File("form.json");
  ASSERT_EQ(Run("new\nput SDate \"\"\nsave " + doc + "\n"), 0) << err_;
  EXPECT_EQ(nlohmann::json::parse(ReadWholeFile(doc))["controls"][0]["properties"], nlohmann::json::object());
  ASSERT_EQ(Run("put Font none\nsave " + doc + "\nload " + doc + "\nget Font\n"), 0) << err_;
  EXPECT_EQ(OutLines(), std::vector<std::string>{"null"});
}

TEST_F(HostDocumentTest, FormsOfManyControlsKeepNamesPlacesAndValues) {
  const std::string first = File("first.json"), second = File("second.json");
  std::ostringstream doc;
  doc << R"({"format": "jornavista-form", "version": 1, "controls": [)";
  for (int i = 1; i <= 5; ++i)
    doc << (i > 1 ? "," : "") << R"({"class": "ctrJornavista", "name": "cal)" << i << R"(", "left": )"
        << i * 100 << R"(, "top": )" << -i
        << R"(, "width": 0, "height": 0, "properties": {"BackStyle": {"type": "int16", "value": )" << i
        << "}}}";
  doc << "]}";
  std::ofstream(first) << doc.str();
  ASSERT_EQ(Run("load " + first + "\nselect cal3\nput BorderStyle 33\nsave " + second + "\nload " + second +
                "\nselect 3\nget BorderStyle\nget BackStyle\nselect cal5\nget BackStyle\n"),
            0)
      << err_;
  EXPECT_EQ(OutLines(), (std::vector<std::string>{"33", "3", "5"}));
  const nlohmann::json saved = nlohmann::json::parse(ReadWholeFile(second));
  ASSERT_EQ(saved["controls"].size(), 5u);
  EXPECT_EQ(saved["controls"][3]["name"], "cal4");
  EXPECT_EQ(saved["controls"][3]["left"], 400);
  EXPECT_EQ(saved["controls"][3]["top"], -4);
  EXPECT_EQ(saved["controls"][3]["width"], 3525) << "the size the control keeps, its frame's";
}

TEST_F(HostDocumentTest, MalformedDocumentIsRefusedAndTheFormKept) {
  const std::string bad = File("bad.json");
  std::ofstream(bad) << "{\"format\": \"jornavista-form\",\n \"version\": 1,\n \"controls\": [{]}";
  ASSERT_EQ(Run("new\nput BackColor 5\n"), 0);
  EXPECT_EQ(Run("load " + bad + "\n"), 1);
  EXPECT_EQ(err_.rfind("1: " + bad + ":3: syntax error", 0), 0u) << err_;
  EXPECT_EQ(State()["m_BackColor"], 5);
}

TEST_F(HostDocumentTest, UnconvertibleValueLoadsAndIsReportedWhereReadingStopped) {
  const std::string doc = File("doc.json");
  std::ofstream(doc) << R"({"format": "jornavista-form", "version": 1, "controls": [
    {"class": "ctrJornavista", "name": "cal", "left": 0, "top": 0, "width": 0, "height": 0, "properties": {
      "BackStyle": {"type": "int16", "value": 2}, "BorderStyle": {"type": "int32", "value": 70000},
      "SDate": {"type": "string", "value": "restored"}}}]})";
  ASSERT_EQ(Run("today 2003-11-09\nload " + doc + "\nget BackStyle\nget SDate\n"), 0) << err_;
  EXPECT_EQ(OutLines(), (std::vector<std::string>{
                            "status 0x8002000A: ReadProperties of \"cal\" stopped at \"BorderStyle\"", "2",
                            "\"11/9/2003\""}));
}

TEST_F(HostDocumentTest, RefusedBagWriteFailsTheSaveAndKeepsTheFile) {
  const std::string doc = File("form.json");
  ASSERT_EQ(Run("new\nsave " + doc + "\n"), 0) << err_;
  const std::string before = ReadWholeFile(doc);
  // WriteProperties writes BackColor, ForeColor, Enabled, then Font.
  constexpr int kFontWrite = 4;
  EXPECT_EQ(
      Run("put BackColor 9\nfail bag.WriteProperty " + std::to_string(kFontWrite) + "\nsave " + doc + "\n"),
      1);
  EXPECT_NE(err_.find("WriteProperties of \"ctrJornavista1\" stopped at \"Font\": 0x80004005"),
            std::string::npos)
      << err_;
  EXPECT_EQ(ReadWholeFile(doc), before);
  constexpr int kFirstRead = 1;  // BackColor
  EXPECT_EQ(
      Run("fail bag.ReadProperty " + std::to_string(kFirstRead) + "\nload " + doc + "\nget BackColor\n"), 0)
      << err_;
  EXPECT_EQ(OutLines()[0],
            "status 0x80004005: ReadProperties of \"ctrJornavista1\" stopped at \"BackColor\"");
}

struct RefusedLine {
  const char* line;
  const char* error;
};

class RefusedPropertyLineTest : public HostDocumentTest, public ::testing::WithParamInterface<RefusedLine> {};

TEST_P(RefusedPropertyLineTest, NamesWhatIsWrong) {
  EXPECT_EQ(Run(std::string("new\n") + GetParam().line + "\n"), 2);
  EXPECT_EQ(err_.rfind(std::string("2: ") + GetParam().error, 0), 0u) << GetParam().line << " gave: " << err_;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedPropertyLineTest,
    ::testing::Values(RefusedLine{"put Colour 1", "usage: put NAME VALUE"},
                      RefusedLine{"put BackColor &H100000000", "BackColor is a colour"},
                      RefusedLine{"put BorderStyle 32768", "BorderStyle is a 16-bit integer"},
                      RefusedLine{"put Enabled maybe", "Enabled is true, false or a 16-bit number"},
                      RefusedLine{"put Font {\"Name\":\"A\",\"Size\":8,\"Weight\":5000}",
                                  "Font is none or a JSON"},
                      RefusedLine{"set Font.Size 0", "Size is in points"},
                      RefusedLine{"load", "usage: load FILE"},
                      RefusedLine{"get Font now", "usage: get NAME"}));

// Documents as an attacker writes them.
constexpr std::string_view kValidDocument =
    R"({"format": "jornavista-form", "version": 1, "controls": [
  {"class": "ctrJornavista", "name": "cal", "left": 0, "top": 0, "width": 0, "height": 0, "properties": {}}]})";

TEST_F(HostDocumentTest, AZeroByteAndWhatFollowsItAreRefusedWithTheOffset) {
  const std::string doc = File("tail.json");
  std::string text(kValidDocument);
  const std::size_t offset = text.size();
  text.append(1, '\0').append("garbage");
  std::ofstream(doc, std::ios::binary) << text;
  EXPECT_EQ(Run("today 2003-11-09\nnew\nload " + doc + "\n"), 1);
  EXPECT_NE(err_.find("zero byte at offset " + std::to_string(offset)), std::string::npos) << err_;
  EXPECT_EQ(Run("state\n"), 0) << "the form is the one before the load";
}

struct OutOfRange {
  const char* name;
  const char* document;
  const char* message;
};

class OutOfRangeTest : public HostDocumentTest, public ::testing::WithParamInterface<OutOfRange> {};

// A whole number too large for 64 bits is out of range, not "a number with a fraction".
TEST_P(OutOfRangeTest, IsCalledOutOfRange) {
  const std::string doc = File("range.json");
  std::ofstream(doc) << GetParam().document;
  EXPECT_EQ(Run("load " + doc + "\n"), 1);
  EXPECT_NE(err_.find(GetParam().message), std::string::npos) << err_;
  EXPECT_EQ(err_.find("fraction"), std::string::npos) << err_;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, OutOfRangeTest,
    ::testing::Values(
        OutOfRange{"Version",
                   R"({"format": "jornavista-form", "version": 18446744073709551616, "controls": []})",
                   "not 18446744073709551616"},
        OutOfRange{"Int32Value", R"({"format": "jornavista-form", "version": 1, "controls": [
  {"class": "ctrJornavista", "name": "cal", "left": 0, "top": 0, "width": 0, "height": 0, "properties": {
    "BackColor": {"type": "int32", "value": 18446744073709551616}}}]})",
                   "not 18446744073709551616"}),
    [](const ::testing::TestParamInfo<OutOfRange>& info) { return std::string(info.param.name); });

TEST_F(HostDocumentTest, ControlBytesInADocumentAreEscapedInTheMessage) {
  const std::string doc = File("class.json");
  std::ofstream(doc) << R"({"format": "jornavista-form", "version": 1, "controls": [
  {"class": "ctrJornavista\u0000\u001b[2J", "name": "cal", "left": 0, "top": 0, "width": 0, "height": 0,
   "properties": {}}]})";
  EXPECT_EQ(Run("load " + doc + "\n"), 1);
  EXPECT_NE(err_.find("\"ctrJornavista\\x00\\x1B[2J\""), std::string::npos) << err_;
  EXPECT_EQ(err_.find('\0'), std::string::npos);
  EXPECT_EQ(err_.find('\x1b'), std::string::npos);
}

TEST_F(HostDocumentTest, ADocumentWithoutControlsLeavesTheFormEmpty) {
  const std::string doc = File("empty.json");
  std::ofstream(doc) << R"({"format": "jornavista-form", "version": 1, "controls": []})";
  EXPECT_EQ(Run("today 2003-11-09\nnew\nload " + doc + "\n"), 0) << err_;
  EXPECT_EQ(form_->ControlCount(), 0u);
  // A member of no control is a failure while running, not a crash.
  EXPECT_EQ(Run("new\nload " + doc + "\nget SDate\n"), 1);
  EXPECT_NE(err_.find("3: get: the form has no control"), std::string::npos) << err_;
}

TEST_F(HostDocumentTest, AReadOnlyDocumentIsReplacedOnlyWhenForced) {
  const std::string doc = File("kept.json");
  ASSERT_EQ(Run("today 2003-11-09\nnew\nsave " + doc + "\n"), 0) << err_;
  const std::string before = ReadWholeFile(doc);
  constexpr auto kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(doc, kReadOnly);
  EXPECT_EQ(Run("put BackColor 9\nsave " + doc + "\n"), 1);
  EXPECT_NE(err_.find("it is read-only"), std::string::npos) << err_;
  EXPECT_EQ(ReadWholeFile(doc), before);
  EXPECT_EQ(Run("save " + doc + " --force\n"), 0) << err_;
  EXPECT_NE(ReadWholeFile(doc), before);
  EXPECT_EQ(fs::status(doc).permissions() & fs::perms::all, kReadOnly) << "and it stays read-only";
}

}  // namespace
}  // namespace jv::host
