// The host's component commands end to end: a script registers the library,
// creates the control through it by programmatic identifier, drives members by
// dispatch id, reads the type library and lets the library go.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/jornavista-host/script.h"
#include "tests/support/built_library.h"
#include "tests/support/environment_override.h"
#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class HostComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::shared_ptr<FormLibrary> library;
    ASSERT_NO_FATAL_FAILURE(testing::OpenBuiltLibrary(&library));
    form_ = MakeHeadlessDriver(std::move(library));
  }
  int Run(const std::string& script) {
    std::istringstream in(script);
    out_.str("");
    err_.str("");
    return RunScript(in, *form_, out_, err_);
  }
  std::vector<json> Lines() {
    std::vector<json> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    return lines;
  }

  testing::ScratchFolder scratch_{"jv-host-commands"};
  const std::string store_ = (scratch_.path() / "registry.json").string();
  testing::RegistryStoreOverride store_override_{store_};
  std::unique_ptr<FormDriver> form_;
  std::ostringstream out_, err_;
};

const std::string kOcx = JV_OCX_PATH;

TEST_F(HostComponentTest, AScriptDrivesTheControlThroughTheLibraryAlone) {
  ASSERT_EQ(Run("register " + kOcx +
                "\n"
                "component JornavistaControl.ctrJornavista 2003-11-09\n"
                "invoke 0x68030000 put \"any text\"\n"
                "invoke SDate get\n"
                "invoke 0x68030001 put i2:7\n"
                "invoke BorderStyle get\n"
                "invoke -512 putref font:Arial,12\n"
                "invoke Font get\n"
                "invoke 0x6003000F call\n"
                "invoke 0x68030002 put \"abc\"\n"
                "invoke 0x12345 get\n"
                "typeinfo\n"
                "release\n"
                "unregister " +
                kOcx + "\n"),
            0)
      << err_.str();
  const std::vector<json> l = Lines();
  ASSERT_EQ(l.size(), 14u) << out_.str();
  EXPECT_EQ(l[0]["status"], "0x00000000");
  EXPECT_EQ(l[1]["server"], fs::canonical(kOcx).string()) << "found through the registry store";
  EXPECT_EQ(l[2]["changed"], json::array({"0x68030000"}));
  EXPECT_EQ(l[3]["value"], (json{{"type", "VT_BSTR"}, {"value", "any text"}}));
  EXPECT_EQ(l[5]["value"], (json{{"type", "VT_I2"}, {"value", 7}}));
  EXPECT_EQ(l[7]["value"]["font"]["Name"], "Arial");
  EXPECT_EQ(l[8]["status"], "0x00000000");
  EXPECT_EQ(l[9]["status"], "0x80020005");
  EXPECT_EQ(l[9]["arg_err"], 0);
  EXPECT_EQ(l[10]["status"], "0x80020003");
  EXPECT_EQ(l[11]["name"], "JornavistaControl");
  EXPECT_EQ(l[11]["types"].size(), 3u);
  EXPECT_EQ(l[12]["unloaded"], true);
  for (std::size_t i = 2; i <= 10; ++i) EXPECT_EQ(l[i]["events"], json::array()) << "line " << i;
}

// Saved scripts keep their older spellings: each pair of lines puts the same value,
// the canonical spelling first.
TEST_F(HostComponentTest, OlderArgumentSpellingsPutWhatTheCanonicalOnesPut) {
  const struct {
    std::string canonical, older, get;
  } pairs[] = {
      {"invoke Font putref {\"Name\":\"Arial\",\"Size\":12}", "invoke Font putref font:Arial,12",
       "invoke Font get"},
      {"invoke BorderStyle put i2:&H0001", "invoke BorderStyle put i2:1", "invoke BorderStyle get"},
  };
  for (const auto& p : pairs) {
    ASSERT_EQ(Run("component " + kOcx + " 2003-11-09\n" + p.canonical + "\n" + p.get + "\n" + p.older +
                  "\n" + p.get + "\n"),
              0)
        << p.canonical << ": " << err_.str();
    const std::vector<json> l = Lines();
    ASSERT_EQ(l.size(), 5u) << out_.str();
    EXPECT_EQ(l[1]["status"], "0x00000000") << p.canonical;
    EXPECT_EQ(l[3]["status"], "0x00000000") << p.older;
    EXPECT_EQ(l[2]["value"], l[4]["value"]) << p.canonical << " and " << p.older;
  }
}

TEST_F(HostComponentTest, MalformedLinesStopTheScriptBeforeAnythingRuns) {
  const char* malformed[] = {
      "invoke 0x68030000 frob\n",
      "invoke 0x68030000 put\n",
      "invoke 0x68030000 put not-an-argument\n",
      "invoke 0x68030000 put i2:70000\n",
      "invoke -512 putref {\"Name\":\"Arial\"}\n",
      "invoke -512 putref font:Arial\n",
      "component\n",
      "component x.ocx 2003-13-01\n",
      "register\n",
      "typeinfo now\n",
  };
  for (const char* line : malformed) {
    EXPECT_EQ(Run("register " + kOcx + "\n" + line), 2) << line;
    EXPECT_TRUE(out_.str().empty()) << line;
    EXPECT_FALSE(fs::exists(store_)) << "the register line ran: " << line;
  }
}

TEST_F(HostComponentTest, FailuresWhileRunningAreReported) {
  EXPECT_EQ(Run("invoke SDate get\n"), 1);
  EXPECT_NE(err_.str().find("no component instance"), std::string::npos) << err_.str();
  EXPECT_EQ(Run("component No.Such.Class\n"), 1);
  EXPECT_NE(err_.str().find("No.Such.Class"), std::string::npos) << err_.str();
  EXPECT_EQ(Run("register /nonexistent/Jornavista.ocx\n"), 1);
  { std::ofstream(store_) << "{ damaged"; }
  EXPECT_EQ(Run("register " + kOcx + "\n"), 1);
  EXPECT_NE(err_.str().find("damaged"), std::string::npos) << err_.str();
}

TEST_F(HostComponentTest, RegistrationFailuresSayWhyTheStoreRefused) {
  {
    std::ofstream(store_) << R"({"format": "jornavista-registry", "version": 1, "classes": {}, )"
                             R"("progids": {"JornavistaControl.ctrJornavista": {"clsid": 12}}, )"
                             R"("typelibs": {}, "interfaces": {}})";
  }
  EXPECT_EQ(Run("unregister " + kOcx + "\n"), 1);
  EXPECT_NE(err_.str().find("\"clsid\" is not a string"), std::string::npos) << err_.str();

  // A folder nobody may create files in, root included: the store reads as empty
  // there, so only the write fails, and the system's reason must come with it.
  ::setenv("JV_REGISTRY_FILE", "/proc/jv-registry-host-test.json", 1);
  EXPECT_EQ(Run("register " + kOcx + "\n"), 1);
  EXPECT_NE(err_.str().find("cannot open /proc/jv-registry-host-test.json.lock: "), std::string::npos)
      << err_.str();
}

}  // namespace
}  // namespace jv::host
