// The host reaches the control only through its component library: which library
// it opens (by path, by programmatic identifier, from the environment, beside
// the executable), how it refuses one it cannot use, and that a form's instances
// come from the library, let it go when cleared, and report through the
// interfaces a container sees.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "apps/jornavista-host/form_host.h"
#include "apps/jornavista-host/script.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/std_font.h"
#include "tests/support/environment_override.h"
#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const std::string kOcx = JV_OCX_PATH;
const std::string kHost = JV_HOST_PATH;

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// Each test has a directory of its own and a registry store in it, empty until
// the test registers the library there.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LC_ALL", "en_US.UTF-8", 1);
    unsetenv(kLibraryVariable);
  }

  void Register() {
    std::unique_ptr<component::ComponentLibrary> lib;
    std::string error;
    ASSERT_EQ(component::ComponentLibrary::Load(kOcx, &lib, &error), S_OK) << error;
    ASSERT_EQ(lib->RegisterServer(), S_OK);
  }
  std::string Write(const std::string& name, const std::string& text) {
    const fs::path p = dir_ / name;
    WriteWholeFile(p, text);
    return p.string();
  }

  struct Run {
    int status;
    std::string out, err;
  };
  // The host executable as a user starts it, with `env` in front of it.
  Run Host(const std::string& exe, const std::string& args, const std::string& env = "") {
    const std::string out = (dir_ / "out.txt").string(), err = (dir_ / "err.txt").string();
    const std::string command = env + " '" + exe + "' " + args + " >'" + out + "' 2>'" + err + "' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out), ReadWholeFile(err)};
  }

  testing::ScratchFolder scratch_{"jv-library"};
  const fs::path dir_ = scratch_.path();
  const std::string store_ = (dir_ / "registry.json").string();
  testing::RegistryStoreOverride store_override_{store_};
};

std::shared_ptr<FormLibrary> Open(const std::string& what) {
  std::shared_ptr<FormLibrary> library;
  const auto error = FormLibrary::Open(what, &library);
  EXPECT_EQ(error, std::nullopt) << error.value_or("");
  return library;
}

struct Output {
  int status;
  std::string out, err;
};

Output RunOn(FormDriver& form, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = RunScript(in, form, out, err);
  return {status, out.str(), err.str()};
}

// A fresh headless form whose control was created on a fixed start-up day runs
// the script.
Output RunOnCreatedControl(const std::string& script) {
  auto form = MakeHeadlessDriver(Open(kOcx));
  return RunOn(*form, std::string("today 2003-11-09\ncreate\n") + script);
}

constexpr const char* kClickScript = "today 2003-11-09\ncreate\nclick 20\nstate\nget SDate\n";

TEST_F(LibraryTest, AProgrammaticIdentifierFindsTheLibraryThroughTheStore) {
  Register();
  const auto by_id = Open(jornavista::kProgId);
  ASSERT_TRUE(by_id);
  EXPECT_EQ(by_id->file(), fs::canonical(kOcx).string());
  EXPECT_EQ(by_id->clsid(), jornavista::CLSID_ctrJornavista);
  // The same script gives the same output whichever way the library was found.
  auto through_store = MakeHeadlessDriver(by_id);
  auto by_path = MakeHeadlessDriver(Open(kOcx));
  const Output a = RunOn(*through_store, kClickScript), b = RunOn(*by_path, kClickScript);
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_NE(a.out.find("\"m_SelDate\":\"2003-11-14\""), std::string::npos) << a.out;
}

struct Refusal {
  const char* name;
  const char* what;          // the library named: a file under the test's directory, or an identifier
  const char* content;       // the file written under that name, if any
  const char* message;       // part of the error
  bool server_gone = false;  // a copy of the library is registered, then deleted
};

class RefusedLibraryTest : public LibraryTest, public ::testing::WithParamInterface<Refusal> {};

// A library the form cannot use is refused with a message, and nothing is opened.
TEST_P(RefusedLibraryTest, IsRefusedWithAMessage) {
  const Refusal& r = GetParam();
  std::string what = r.what;
  if (r.content != nullptr) what = Write(r.what, r.content);
  if (r.server_gone) {
    fs::copy_file(kOcx, dir_ / "Moved.ocx");
    std::unique_ptr<component::ComponentLibrary> lib;
    std::string error;
    ASSERT_EQ(component::ComponentLibrary::Load((dir_ / "Moved.ocx").string(), &lib, &error), S_OK) << error;
    ASSERT_EQ(lib->RegisterServer(), S_OK);
    lib.reset();
    fs::remove(dir_ / "Moved.ocx");
  }
  std::shared_ptr<FormLibrary> library;
  const auto error = FormLibrary::Open(what, &library);
  ASSERT_TRUE(error);
  EXPECT_FALSE(library);
  EXPECT_NE(error->find(r.message), std::string::npos) << *error;
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, RefusedLibraryTest,
    ::testing::Values(Refusal{"NoName", "", nullptr, "no control library"},
                      Refusal{"MissingFile", "/nonexistent/Jornavista.ocx", nullptr, "cannot load"},
                      Refusal{"NotALibrary", "garbage.ocx", "not an ELF file", "cannot load"},
                      Refusal{"UnknownIdentifier", "No.Such.Class", nullptr, "no class is registered"},
                      Refusal{"ServerGone", "JornavistaControl.ctrJornavista", nullptr, "cannot load", true}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// The damaged store needs its file in place before the lookup.
class DamagedStoreTest : public LibraryTest {};
TEST_F(DamagedStoreTest, IsReportedAndLeftAlone) {
  Write("registry.json", "{ damaged");
  std::shared_ptr<FormLibrary> library;
  HRESULT status = S_OK;
  const std::string error = FormLibrary::Open(jornavista::kProgId, &library, &status).value_or("");
  EXPECT_EQ(status, REGDB_E_INVALIDVALUE);
  EXPECT_NE(error.find("registry.json"), std::string::npos) << error;
  EXPECT_EQ(ReadWholeFile(store_), "{ damaged");
}

struct Invocation {
  const char* name;
  const char* args;  // {ocx}, {dir} and {store} stand for the test's files
  const char* env;
  int status;
  const char* expect;  // part of standard output (status 0) or standard error
};

class HostExecutableTest : public LibraryTest, public ::testing::WithParamInterface<Invocation> {
 protected:
  std::string Fill(std::string text) {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"{ocx}", kOcx},
                                     {"{dir}", dir_.string()},
                                     {"{store}", store_}}) {
      for (std::size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
    }
    return text;
  }
};

TEST_P(HostExecutableTest, ChoosesTheLibraryByTheDocumentedRule) {
  const Invocation& c = GetParam();
  Write("click.jvs", kClickScript);
  Write("garbage.ocx", "not an ELF file");
  if (std::string_view(c.name).starts_with("ProgId")) Register();
  const Run r = Host(kHost, Fill(c.args), Fill(c.env));
  EXPECT_EQ(r.status, c.status) << r.err;
  EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.expect), std::string::npos) << r.out << r.err;
  if (c.status != 0) {
    EXPECT_EQ(r.out, "") << "nothing ran";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Invocations, HostExecutableTest,
    ::testing::Values(
        Invocation{"BesideTheHost", "{dir}/click.jvs", "", 0, "\"m_SelDate\":\"2003-11-14\""},
        Invocation{"ByPath", "--library {ocx} {dir}/click.jvs", "", 0, "\"m_SelCell\":20"},
        Invocation{"ByPathAfterTheScript", "{dir}/click.jvs --library={ocx}", "", 0, "\"m_SelCell\":20"},
        Invocation{"ProgIdOption", "--library JornavistaControl.ctrJornavista {dir}/click.jvs", "", 0,
                   "\"m_SelCell\":20"},
        Invocation{"ProgIdFromTheEnvironment", "{dir}/click.jvs",
                   "JV_CONTROL_LIBRARY=JornavistaControl.ctrJornavista", 0, "\"m_SelCell\":20"},
        Invocation{"OptionBeatsTheEnvironment", "--library {ocx} {dir}/click.jvs",
                   "JV_CONTROL_LIBRARY={dir}/garbage.ocx", 0, "\"m_SelCell\":20"},
        Invocation{"MissingFile", "--library /nonexistent/Jornavista.ocx {dir}/click.jvs", "", 1,
                   "jornavista-host: cannot load /nonexistent/Jornavista.ocx"},
        Invocation{"BrokenFile", "--library {dir}/garbage.ocx {dir}/click.jvs", "", 1, "cannot load"},
        Invocation{"BrokenFromTheEnvironment", "{dir}/click.jvs", "JV_CONTROL_LIBRARY={dir}/garbage.ocx", 1,
                   "cannot load"},
        Invocation{"UnregisteredProgId", "--library JornavistaControl.ctrJornavista {dir}/click.jvs", "", 1,
                   "no class is registered as JornavistaControl.ctrJornavista"},
        Invocation{"OptionWithoutValue", "--library", "", 2, "--library needs"},
        Invocation{"HelpNeedsNoLibrary", "--help", "JV_CONTROL_LIBRARY=/nonexistent.ocx", 0,
                   "--library FILE|PROGID"}),
    [](const ::testing::TestParamInfo<Invocation>& info) { return std::string(info.param.name); });

// A copied tree (the host with the library beside it) finds the library by where
// the executable is, not by where it was built.
TEST_F(LibraryTest, ACopiedTreeFindsTheLibraryBesideTheHost) {
  const fs::path bin = dir_ / "bin";
  fs::create_directories(bin);
  fs::copy_file(kHost, bin / "jornavista-host");
  fs::copy_file(kOcx, bin / "Jornavista.ocx");
  Write("click.jvs", kClickScript);
  const Run r = Host((bin / "jornavista-host").string(), (dir_ / "click.jvs").string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"m_SelCell\":20"), std::string::npos) << r.out;
  // Without the library beside it, and no build tree behind it, there is none.
  fs::remove(bin / "Jornavista.ocx");
  const Run none = Host((bin / "jornavista-host").string(), (dir_ / "click.jvs").string());
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no control library"), std::string::npos) << none.err;
}

TEST(FormLibraryTest, TheLibraryMayUnloadOnceTheFormIsCleared) {
  const auto library = Open(kOcx);
  ASSERT_TRUE(library);
  auto form = MakeHeadlessDriver(library);
  const Output run = RunOn(*form,
                           "today 2003-11-09\nnew\nclick 20\nput Font {\"Name\":\"Arial\",\"Size\":9}\n"
                           "set Font.Bold true\nnew\nstate\nkey Down\nrefresh\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(library->CanUnloadNow(), S_FALSE) << "an instance is on the form";
  form->ClearControls();
  EXPECT_EQ(form->instance(), nullptr);
  EXPECT_EQ(library->CanUnloadNow(), S_OK) << "every reference the form held was given back";
}

TEST(FormLibraryTest, TheAmbientFontReachesTheInstanceThroughTheSite) {
  auto form = MakeHeadlessDriver(Open(kOcx));
  IFont* raw = nullptr;
  ASSERT_EQ(CreateStdFont({u"Ambient Sans", 110000}, &raw), S_OK);
  form->SetAmbientFont(FontRef::Adopt(raw));
  const Output run = RunOn(*form, "new\nget Font\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["Name"], "Ambient Sans");
  EXPECT_EQ(json::parse(run.out)["Size"], 11);
}

struct Notice {
  const char* line;
  std::vector<std::string> changed;
};

class ChangeNoticeTest : public ::testing::TestWithParam<Notice> {};

// The notices arrive as dispatch ids and reach the script by property name.
TEST_P(ChangeNoticeTest, NamesThePropertyThatChanged) {
  const Output run = RunOnCreatedControl(std::string(GetParam().line) + "\nstate\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["changed"], json(GetParam().changed)) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Properties, ChangeNoticeTest,
    ::testing::Values(Notice{"put BackColor 1", {"BackColor"}}, Notice{"put ForeColor 1", {"ForeColor"}},
                      Notice{"put Enabled true", {"Enabled"}}, Notice{"put Font none", {"Font"}},
                      Notice{"put BackStyle 1", {"BackStyle"}}, Notice{"put BorderStyle 1", {"BorderStyle"}},
                      Notice{"put SDate x", {"SDate"}}, Notice{"click 20\nkey Right", {"SDate", "SDate"}},
                      Notice{"refresh\nnext\nprevious", {}},
                      // A change made on the font object itself is no put of the control's.
                      Notice{"put Font {\"Name\":\"Arial\",\"Size\":8}\nset Font.Size 20", {"Font"}}));

TEST(FormLibraryTest, AnIdThatNamesNoPropertyIsGivenInHexadecimal) {
  EXPECT_EQ(PropertyNameOf(jornavista::DISPID_Font), "Font");
  EXPECT_EQ(PropertyNameOf(DISPID_UNKNOWN), "0xFFFFFFFF");
  EXPECT_EQ(PropertyNameOf(jornavista::DISPID_Refresh), "0x6003000F");
}

struct MemberStatus {
  const char* script;
  std::vector<std::string> out;
};

class MemberStatusTest : public ::testing::TestWithParam<MemberStatus> {};

// A member's failure through Invoke reaches the script as its status, and the
// script goes on.
TEST_P(MemberStatusTest, PrintsTheStatusAndGoesOn) {
  const Output run = RunOnCreatedControl(GetParam().script);
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines;
  std::istringstream in(run.out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, GetParam().out) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(
    Members, MemberStatusTest,
    ::testing::Values(
        MemberStatus{"fail txtDate.Text.get 1\nget SDate\nget SDate\n",
                     {"status 0x80004005", "\"\"", "\"11/9/2003\""}},
        MemberStatus{"fail txtDate.Text.put 1\nput SDate x\nget SDate\n",
                     {"status 0x80004005", "\"11/9/2003\""}},
        MemberStatus{"fail PropertyChanged 1\nput BackColor 7\nget BackColor\n", {"status 0x80004005", "7"}},
        MemberStatus{"fail AmbientFont\nnew\n", {"status 0x80004005: InitProperties"}},
        // The dispatch interface coerces a number to the Boolean it stands for.
        MemberStatus{"put Enabled 5\nget Enabled\nput Enabled 0\nget Enabled\n", {"true", "false"}},
        MemberStatus{"refresh\nget BorderStyle\n", {"0"}}));

}  // namespace
}  // namespace jv::host
