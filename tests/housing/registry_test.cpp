// Registration through the library's own entry points, inspected in the store;
// the store's locking under two racing processes and its refusal to rewrite a
// damaged file; and the resources read from the library file without loading it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "housing/jornavista_ids.h"
#include "platform/component/component_library.h"
#include "platform/component/guid_text.h"
#include "platform/component/registry_store.h"
#include "tests/support/environment_override.h"
#include "tests/support/library_file_reader.h"
#include "tests/support/scratch_folder.h"

namespace jv::component {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using testing::ReadWholeFile;
using testing::WriteWholeFile;

// Runs `work` in two child processes at once, each told which one it is, and
// expects both to report success.
void InTwoProcesses(const std::function<bool(int)>& work) {
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = ::fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) ::_exit(work(p) ? 0 : 1);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

// Adds `count` classes, named after the process and their number, through the
// store at `path`, one update each.
bool AddClasses(const std::string& path, int process, int count) {
  RegistryStore store(path);
  std::string error;
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    // Built with snprintf: GCC 12 at -O3 misreads the string concatenation (-Wrestrict).
    char key[32];
    std::snprintf(key, sizeof key, "{%d-%d}", process, i);
    failed += FAILED(store.Update(
        [&](json& doc) {
          doc["classes"][key] = {{"name", key}};
          return S_OK;
        },
        &error));
  }
  return failed == 0;
}

class RegistryTest : public ::testing::Test {
 protected:
  json Store() {
    json doc;
    std::string error;
    EXPECT_EQ(RegistryStore(path_).Read(&doc, &error), S_OK) << error;
    return doc;
  }

  testing::ScratchFolder scratch_{"jv-registry"};
  const fs::path& dir_ = scratch_.path();
  const std::string path_ = (dir_ / "store" / "registry.json").string();
  testing::RegistryStoreOverride store_override_{path_};
};

TEST_F(RegistryTest, RegisterWritesTheRecordAndUnregisterRemovesExactlyIt) {
  // Someone else's class, which must survive both.
  std::string error;
  RegistryStore store(path_);
  ASSERT_EQ(store.Update(
                [](json& doc) {
                  doc["classes"]["{00000000-0000-0000-0000-000000000001}"] = {{"name", "Other"}};
                  doc["progids"]["Other.Thing"] = {{"clsid", "{00000000-0000-0000-0000-000000000001}"}};
                  return S_OK;
                },
                &error),
            S_OK)
      << error;

  std::unique_ptr<ComponentLibrary> lib;
  ASSERT_EQ(ComponentLibrary::Load(JV_OCX_PATH, &lib, &error), S_OK) << error;
  ASSERT_EQ(lib->RegisterServer(), S_OK);
  ASSERT_EQ(lib->RegisterServer(), S_OK) << "registering twice is the same as once";

  const json doc = Store();
  const std::string server = fs::canonical(JV_OCX_PATH).string();
  const std::string clsid = GuidToString(jornavista::CLSID_ctrJornavista);
  const std::string libid = GuidToString(jornavista::LIBID_JornavistaControl);
  const json& c = doc["classes"][clsid];
  EXPECT_EQ(c["name"], "ctrJornavista");
  EXPECT_EQ(c["progid"], "JornavistaControl.ctrJornavista");
  EXPECT_EQ(c["server"], server);
  EXPECT_EQ(c["threading"], "Apartment");
  EXPECT_EQ(c["control"], true);
  EXPECT_EQ(c["events"], GuidToString(jornavista::DIID___ctrJornavista));
  EXPECT_EQ(c["misc_status"], "0x20191");
  EXPECT_EQ(c["toolbox_bitmap"], (json{{"file", server}, {"resource", 30000}}));
  EXPECT_EQ(c["property_pages"], json::array({"StandardFont"}));
  EXPECT_EQ(c["typelib"], libid);
  EXPECT_EQ(c["version"], "1.0");
  EXPECT_EQ(doc["progids"]["JornavistaControl.ctrJornavista"]["clsid"], clsid);
  const json& tlb = doc["typelibs"][libid]["1.0"];
  EXPECT_EQ(tlb["name"], "JornavistaControl");
  EXPECT_EQ(tlb["lcid"], "0x0409");
  EXPECT_EQ(tlb["path"], server);
  EXPECT_EQ(doc["interfaces"][GuidToString(jornavista::IID__ctrJornavista)]["name"], "_ctrJornavista");
  EXPECT_EQ(doc["interfaces"][GuidToString(jornavista::DIID___ctrJornavista)]["name"], "__ctrJornavista");

  RegisteredClass found;
  ASSERT_EQ(FindRegisteredClass(store, jornavista::kProgId, &found, &error), S_OK) << error;
  EXPECT_EQ(found.clsid, jornavista::CLSID_ctrJornavista);
  EXPECT_EQ(found.server, server);
  ASSERT_EQ(FindRegisteredClass(store, clsid, &found, &error), S_OK) << error;
  EXPECT_EQ(FindRegisteredClass(store, "No.Such", &found, &error), REGDB_E_CLASSNOTREG);

  ASSERT_EQ(lib->UnregisterServer(), S_OK);
  json expected = RegistryStore::EmptyDocument();
  expected["classes"]["{00000000-0000-0000-0000-000000000001}"] = {{"name", "Other"}};
  expected["progids"]["Other.Thing"] = {{"clsid", "{00000000-0000-0000-0000-000000000001}"}};
  EXPECT_EQ(Store(), expected);
  EXPECT_EQ(FindRegisteredClass(store, jornavista::kProgId, &found, &error), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(lib->UnregisterServer(), S_OK) << "nothing left to remove is no failure";
}

TEST_F(RegistryTest, ADamagedStoreIsReportedAndLeftAsItIs) {
  const char* damaged[] = {
      "{\"format\": \"jornavista-registry\", \"version\": 1, \"classes\": {",  // cut short
      "",
      "[1, 2, 3]",
      "{\"format\": \"something else\", \"version\": 1}",
      "{\"format\": \"jornavista-registry\", \"version\": 2, \"classes\": {}, \"progids\": {}, "
      "\"typelibs\": {}, \"interfaces\": {}}",
      "{\"format\": \"jornavista-registry\", \"version\": 1, \"classes\": [], \"progids\": {}, "
      "\"typelibs\": {}, \"interfaces\": {}}",
      "{\"format\": \"jornavista-registry\", \"version\": 1, \"classes\": {\"x\": 1}, \"progids\": {}, "
      "\"typelibs\": {}, \"interfaces\": {}}",
  };
  std::unique_ptr<ComponentLibrary> lib;
  std::string error;
  ASSERT_EQ(ComponentLibrary::Load(JV_OCX_PATH, &lib, &error), S_OK) << error;
  fs::create_directories(fs::path(path_).parent_path());
  for (const char* text : damaged) {
    WriteWholeFile(path_, text);
    EXPECT_EQ(lib->RegisterServer(), REGDB_E_INVALIDVALUE) << text;
    EXPECT_EQ(lib->UnregisterServer(), REGDB_E_INVALIDVALUE) << text;
    EXPECT_EQ(ReadWholeFile(path_), text) << "rewritten: " << text;
    json doc;
    EXPECT_EQ(RegistryStore(path_).Read(&doc, &error), REGDB_E_INVALIDVALUE) << text;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  }
  for (const auto& entry : fs::directory_iterator(fs::path(path_).parent_path()))
    EXPECT_EQ(entry.path().string().find(".tmp."), std::string::npos) << "a temporary file was left behind";
}

// Damage the JSON reader alone would let through: it stops at a NUL byte, keeps
// the last of two equal keys, and a field of the wrong type would be overwritten
// by a registration or trip an unregistration without a reason.
TEST_F(RegistryTest, DamageInsideTheDocumentIsReportedWithItsPlaceAndLeftAsItIs) {
  const std::string valid = RegistryStore::EmptyDocument().dump();
  const std::string head = R"({"format": "jornavista-registry", "version": 1, )";
  const std::string clsid = GuidToString(jornavista::CLSID_ctrJornavista);
  const std::string libid = GuidToString(jornavista::LIBID_JornavistaControl);
  const std::string iid = GuidToString(jornavista::IID__ctrJornavista);
  struct Case {
    std::string name;
    std::string text;
    std::string reason;
  };
  const Case cases[] = {
      {"garbage after a NUL byte", valid + std::string("\0{\"classes\": 1}", 15),
       "a NUL byte at offset " + std::to_string(valid.size())},
      {"a NUL byte inside a string",
       head + R"("classes": {}, "progids": {"A)" + std::string(1, '\0') + R"(": {}}, "typelibs": {}, "interfaces": {}})",
       "a NUL byte at offset"},
      {"a section twice", head + R"("classes": {}, "progids": {}, "typelibs": {}, "interfaces": {}, "classes": {}})",
       "the document holds the key \"classes\" twice"},
      {"an entry twice",
       head + R"("classes": {"X": {}, "X": {"name": "n"}}, "progids": {}, "typelibs": {}, "interfaces": {}})",
       "\"classes\" holds the key \"X\" twice"},
      {"a ProgID's clsid is a number",
       head + R"("classes": {}, "progids": {"JornavistaControl.ctrJornavista": {"clsid": 7}}, )"
              R"("typelibs": {}, "interfaces": {}})",
       "\"progids\" entry JornavistaControl.ctrJornavista: \"clsid\" is not a string"},
      {"an interface's typelib is a number",
       head + R"("classes": {}, "progids": {}, "typelibs": {}, "interfaces": {")" + iid + R"(": {"typelib": 1}}})",
       "\"interfaces\" entry " + iid + ": \"typelib\" is not a string"},
      {"a class's server is a number",
       head + R"("classes": {")" + clsid + R"(": {"server": 5}}, "progids": {}, "typelibs": {}, "interfaces": {}})",
       "\"server\" is not a string"},
      {"a class's control flag is text",
       head + R"("classes": {")" + clsid + R"(": {"control": "yes"}}, "progids": {}, "typelibs": {}, "interfaces": {}})",
       "\"control\" is not true or false"},
      {"a property page that is no name",
       head + R"("classes": {"C": {"property_pages": [1]}}, "progids": {}, "typelibs": {}, "interfaces": {}})",
       "\"property_pages\" holds something other than a string"},
      {"a bitmap resource that is text",
       head + R"("classes": {"C": {"toolbox_bitmap": {"resource": "x"}}}, "progids": {}, "typelibs": {}, )"
              R"("interfaces": {}})",
       "toolbox_bitmap: \"resource\" is not a whole number"},
      {"a type library version that is no object",
       head + R"("classes": {}, "progids": {}, "typelibs": {")" + libid + R"(": {"1.0": 3}}, "interfaces": {}})",
       "version 1.0 is not an object"},
      {"a type library's lcid is a number",
       head + R"("classes": {}, "progids": {}, "typelibs": {")" + libid + R"(": {"1.0": {"lcid": 1033}}}, )"
              R"("interfaces": {}})",
       "version 1.0: \"lcid\" is not a string"},
  };
  std::unique_ptr<ComponentLibrary> lib;
  std::string error;
  ASSERT_EQ(ComponentLibrary::Load(JV_OCX_PATH, &lib, &error), S_OK) << error;
  fs::create_directories(fs::path(path_).parent_path());
  RegistryStore store(path_);
  for (const Case& c : cases) {
    WriteWholeFile(path_, c.text);
    json doc;
    error.clear();
    EXPECT_EQ(store.Read(&doc, &error), REGDB_E_INVALIDVALUE) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(lib->RegisterServer(), REGDB_E_INVALIDVALUE) << c.name;
    EXPECT_EQ(lib->UnregisterServer(), REGDB_E_INVALIDVALUE) << c.name;
    EXPECT_EQ(ReadWholeFile(path_), c.text) << "rewritten: " << c.name;
    EXPECT_EQ(store.CheckWritable(&error), REGDB_E_INVALIDVALUE) << c.name;
  }
}

TEST_F(RegistryTest, AStoreReachedThroughALinkIsWrittenWhereTheLinkPoints) {
  const fs::path real = dir_ / "real" / "registry.json";
  fs::create_directories(real.parent_path());
  fs::create_directories(fs::path(path_).parent_path());
  fs::create_symlink(fs::path("..") / "real" / "registry.json", path_);  // relative, not yet existing
  std::unique_ptr<ComponentLibrary> lib;
  std::string error;
  ASSERT_EQ(ComponentLibrary::Load(JV_OCX_PATH, &lib, &error), S_OK) << error;
  const std::string clsid = GuidToString(jornavista::CLSID_ctrJornavista);

  ASSERT_EQ(lib->RegisterServer(), S_OK);
  EXPECT_TRUE(fs::is_symlink(path_)) << "the link was replaced by a file";
  json doc;
  ASSERT_EQ(RegistryStore(real.string()).Read(&doc, &error), S_OK) << error;
  EXPECT_TRUE(doc["classes"].contains(clsid)) << "the linked store did not get the entry";
  EXPECT_TRUE(fs::exists(real.string() + ".lock")) << "the lock is not taken at the real path";
  EXPECT_FALSE(fs::exists(path_ + ".lock")) << "the lock is taken beside the link";

  ASSERT_EQ(lib->UnregisterServer(), S_OK);
  EXPECT_TRUE(fs::is_symlink(path_));
  ASSERT_EQ(RegistryStore(real.string()).Read(&doc, &error), S_OK) << error;
  EXPECT_FALSE(doc["classes"].contains(clsid)) << "the linked store keeps the stale entry";
}

TEST_F(RegistryTest, WritersThroughALinkAndThroughTheRealPathExcludeEachOther) {
  constexpr int kPerProcess = 40;
  const std::string real = (dir_ / "real.json").string();
  fs::create_directories(fs::path(path_).parent_path());
  fs::create_symlink(real, path_);
  const std::string paths[] = {path_, real};
  ASSERT_NO_FATAL_FAILURE(InTwoProcesses([&](int p) { return AddClasses(paths[p], p, kPerProcess); }));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(Store()["classes"].size(), 2u * kPerProcess) << "an update was lost";
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenSaysWhy) {
  // Root may write anywhere a mode allows: a folder that is a file, and /proc,
  // refuse everyone.
  const fs::path file = dir_ / "a-file";
  fs::create_directories(dir_);
  { std::ofstream(file) << "x"; }
  struct Case {
    std::string path;
    std::string reason;
  };
  const Case cases[] = {
      {(file / "registry.json").string(), std::strerror(ENOTDIR)},
      {"/proc/jv-registry-test.json", "/proc/jv-registry-test.json.lock: "},
  };
  for (const Case& c : cases) {
    RegistryStore store(c.path);
    std::string error;
    EXPECT_EQ(store.CheckWritable(&error), REGDB_E_WRITEREGDB) << c.path;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.path << ": " << error;
    EXPECT_EQ(store.Update([](json&) { return S_OK; }, &error), REGDB_E_WRITEREGDB) << c.path;
  }
  RegistryStore fine(path_);
  std::string error;
  EXPECT_EQ(fine.CheckWritable(&error), S_OK) << error;
  for (const auto& entry : fs::directory_iterator(fs::path(path_).parent_path()))
    EXPECT_EQ(entry.path().string().find(".tmp."), std::string::npos) << "the probe left its file";
}

TEST_F(RegistryTest, TwoProcessesUpdatingAtOnceLoseNothing) {
  constexpr int kPerProcess = 40;
  ASSERT_NO_FATAL_FAILURE(InTwoProcesses([&](int p) { return AddClasses(path_, p, kPerProcess); }));
  EXPECT_EQ(Store()["classes"].size(), 2u * kPerProcess) << "an update was lost";
}

TEST_F(RegistryTest, TwoProcessesRegisteringTheLibraryLeaveOneRecord) {
  ASSERT_NO_FATAL_FAILURE(InTwoProcesses([](int) {
    std::unique_ptr<ComponentLibrary> lib;
    std::string error;
    int failed = FAILED(ComponentLibrary::Load(JV_OCX_PATH, &lib, &error));
    for (int i = 0; i < 10 && lib; ++i) failed += FAILED(lib->RegisterServer());
    return failed == 0;
  }));
  const json doc = Store();
  EXPECT_EQ(doc["classes"].size(), 1u);
  EXPECT_EQ(doc["progids"].size(), 1u);
  EXPECT_EQ(doc["interfaces"].size(), 2u);
}

TEST(DefaultRegistryPathTest, FollowsTheOverrideThenTheDataFolder) {
  const testing::SavedEnvironmentVariable store("JV_REGISTRY_FILE"), data("XDG_DATA_HOME"), home("HOME");
  ::unsetenv("JV_REGISTRY_FILE");
  ::setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(DefaultRegistryPath(), "/data/jornavista/registry.json");
  ::setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as the base directory rules say
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(DefaultRegistryPath(), "/home/u/.local/share/jornavista/registry.json");
  ::setenv("JV_REGISTRY_FILE", "/etc/jornavista/registry.json", 1);
  EXPECT_EQ(DefaultRegistryPath(), "/etc/jornavista/registry.json");
}

TEST(LibraryFileTest, ExportsExactlyTheFourEntryPoints) {
  std::vector<std::string> names;
  std::string error;
  ASSERT_EQ(ReadExportedSymbols(JV_OCX_PATH, &names, &error), S_OK) << error;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                             "DllUnregisterServer"}));
}

// The record carries the project's version: 1.0.0 is 1.0.0.0 and "1.00".
TEST(LibraryFileTest, CarriesItsVersionRecord) {
  VersionRecord r;
  std::string error;
  ASSERT_EQ(ReadVersionRecord(JV_OCX_PATH, &r, &error), S_OK) << error;
  const std::array<std::uint16_t, 4> version{JV_VERSION_MAJOR, JV_VERSION_MINOR, JV_VERSION_PATCH, 0};
  EXPECT_EQ(r.file_version, version);
  EXPECT_EQ(r.product_version, version);
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", JV_VERSION_MAJOR, JV_VERSION_MINOR);
  EXPECT_EQ(std::string(JV_VERSION_RECORD), text);
  EXPECT_EQ(r.translation, "040904B0");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"FileDescription", "Jornavista v" JV_VERSION_SHORT},
      {"FileVersion", JV_VERSION_RECORD},
      {"InternalName", "Jornavista"},
      {"OriginalFilename", "Jornavista.ocx"},
      {"ProductName", "Jornavista"},
      {"ProductVersion", JV_VERSION_RECORD},
      {"OLESelfRegister", ""},
  };
  EXPECT_EQ(r.strings, expected);
}

TEST(LibraryFileTest, CarriesASixteenByFifteenToolboxBitmap) {
  std::vector<Resource> resources;
  std::string error;
  ASSERT_EQ(ReadResources(JV_OCX_PATH, &resources, &error), S_OK) << error;
  const Resource* bitmap = nullptr;
  for (const Resource& r : resources)
    if (r.type == "BITMAP" && r.id == 30000) bitmap = &r;
  ASSERT_NE(bitmap, nullptr);
  const auto& d = bitmap->data;
  auto u32 = [&](std::size_t at) { return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | d[at + 3] << 24; };
  ASSERT_EQ(d.size(), 54u + 16 * 15 * 3);
  EXPECT_EQ(d[0], 'B');
  EXPECT_EQ(d[1], 'M');
  EXPECT_EQ(u32(2), static_cast<int>(d.size()));
  EXPECT_EQ(u32(18), 16) << "width";
  EXPECT_EQ(u32(22), 15) << "height";
  EXPECT_EQ(d[28], 24) << "bits per pixel";
}

TEST(LibraryFileTest, AFileThatDoesNotHoldTogetherIsRefused) {
  const testing::ScratchFolder scratch("jv-elf");
  const fs::path& dir = scratch.path();
  const std::string whole = ReadWholeFile(JV_OCX_PATH);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"text", "not a library"},
      {"empty", ""},
      {"cut after the header", whole.substr(0, 64)},
      {"cut in half", whole.substr(0, whole.size() / 2)},
  };
  for (const Case& c : cases) {
    const std::string path = (dir / c.name).string();
    WriteWholeFile(path, c.bytes);
    VersionRecord r;
    std::vector<std::string> names;
    std::string error;
    EXPECT_EQ(ReadVersionRecord(path, &r, &error), E_INVALIDARG) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
    EXPECT_EQ(ReadExportedSymbols(path, &names, &error), E_INVALIDARG) << c.name;
  }
  std::string error;
  VersionRecord r;
  EXPECT_EQ(ReadVersionRecord((dir / "missing").string(), &r, &error), E_FAIL);
}

}  // namespace
}  // namespace jv::component
