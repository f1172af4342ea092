// A library file the loader must not be handed: a truncated copy (which the loader
// would map and fault on), an empty file, a FIFO (which would block it), a device,
// a folder. Each ends the host with a message and status 1, by whichever way the
// library was named, and in-process loading refuses it the same way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/component/component_library.h"
#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;

struct Damage {
  const char* name;
  // Makes the library file at the path given, or returns another path to use.
  std::function<std::string(const fs::path& file)> make;
  const char* message;  // part of the error
};

std::string Truncated(const fs::path& file, std::uintmax_t bytes) {
  const std::string whole = testing::ReadWholeFile(JV_OCX_PATH);
  testing::WriteWholeFile(file, whole.substr(0, static_cast<std::size_t>(bytes)));
  return file.string();
}

const Damage kDamages[] = {
    {"First4KiB", [](const fs::path& f) { return Truncated(f, 4096); }, "past the end of the file"},
    {"FirstHalf", [](const fs::path& f) { return Truncated(f, fs::file_size(JV_OCX_PATH) / 2); },
     "past the end of the file"},
    {"HeaderOnly", [](const fs::path& f) { return Truncated(f, 64); }, "program headers"},
    {"Empty", [](const fs::path& f) { return Truncated(f, 0); }, "too small"},
    {"Fifo",
     [](const fs::path& f) {
       EXPECT_EQ(::mkfifo(f.c_str(), 0600), 0);
       return f.string();
     },
     "not a regular file"},
    {"Device", [](const fs::path&) { return std::string("/dev/zero"); }, "not a regular file"},
    {"Folder",
     [](const fs::path& f) {
       fs::create_directory(f);
       return f.string();
     },
     "it is a folder"},
};

class DamagedLibraryTest : public ::testing::TestWithParam<Damage> {
 protected:
  // The host as a user starts it; the exit status, -1 for a signal.
  int Host(const std::string& args, const std::string& env, std::string* err) {
    const fs::path err_file = dir_ / "err.txt";
    const std::string command =
        env + " '" + JV_HOST_PATH + "' " + args + " >/dev/null 2>'" + err_file.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    *err = testing::ReadWholeFile(err_file);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  const testing::ScratchFolder scratch_{"jv-damaged"};
  const fs::path& dir_ = scratch_.path();
};

TEST_P(DamagedLibraryTest, EndsTheHostWithAMessage) {
  const Damage& d = GetParam();
  const std::string library = d.make(dir_ / "Jornavista.ocx");
  testing::WriteWholeFile(dir_ / "state.jvs", "today 2003-11-09\ncreate\nstate\n");
  const std::string script = (dir_ / "state.jvs").string();
  struct Way {
    std::string args, env;
  };
  for (const Way& way : {Way{"--library '" + library + "' '" + script + "'", ""},
                         Way{"'" + script + "'", "JV_CONTROL_LIBRARY='" + library + "'"}}) {
    std::string err;
    EXPECT_EQ(Host(way.args, way.env, &err), 1) << way.env << way.args << ": " << err;
    EXPECT_NE(err.find("cannot load " + library + ": "), std::string::npos) << err;
    EXPECT_NE(err.find(d.message), std::string::npos) << err;
  }
  std::unique_ptr<component::ComponentLibrary> loaded;
  std::string error;
  EXPECT_EQ(component::ComponentLibrary::Load(library, &loaded, &error), E_INVALIDARG);
  EXPECT_FALSE(loaded);
  EXPECT_NE(error.find(d.message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedLibraryTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace jv::host
