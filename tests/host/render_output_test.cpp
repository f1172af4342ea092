// What `render` does to whatever already stands at its output path: it writes as
// `save` does, following a symbolic link, replacing only a writable regular file,
// through a temporary file of its own, and saying when it cannot.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/support/scratch_folder.h"

namespace jv::host {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string err;
};

bool IsPng(const fs::path& file) { return testing::ReadWholeFile(file.string()).starts_with("\x89PNG\r\n"); }

void Write(const fs::path& file, const std::string& text) { testing::WriteWholeFile(file, text); }

struct Case {
  const char* name;
  // Puts something at the output path ("out.png" in the folder), before render.
  std::function<void(const fs::path& dir)> before;
  int status;
  const char* message;  // in the error output; "" for none expected
  // Checks the folder afterwards.
  std::function<void(const fs::path& dir)> after;
};

const Case kCases[] = {
    {"NewFile", [](const fs::path&) {}, 0, "",
     [](const fs::path& dir) { EXPECT_TRUE(IsPng(dir / "out.png")); }},
    {"SymbolicLinkIsFollowed",
     [](const fs::path& dir) {
       Write(dir / "real.png", "old");
       fs::create_symlink("real.png", dir / "out.png");
     },
     0, "",
     [](const fs::path& dir) {
       EXPECT_TRUE(fs::is_symlink(dir / "out.png")) << "the link stays";
       EXPECT_TRUE(IsPng(dir / "real.png")) << "its target is replaced";
     }},
    {"FifoIsRefused", [](const fs::path& dir) { ASSERT_EQ(::mkfifo((dir / "out.png").c_str(), 0600), 0); }, 1,
     "not saved (the previous image is unchanged): it is not a regular file",
     [](const fs::path& dir) { EXPECT_TRUE(fs::is_fifo(dir / "out.png")); }},
    {"LinkToADeviceIsRefused", [](const fs::path& dir) { fs::create_symlink("/dev/null", dir / "out.png"); },
     1, "it is not a regular file",
     [](const fs::path& dir) {
       EXPECT_TRUE(fs::is_symlink(dir / "out.png"));
       EXPECT_TRUE(fs::is_character_file("/dev/null"));
     }},
    {"FolderIsRefused", [](const fs::path& dir) { fs::create_directory(dir / "out.png"); }, 1,
     "it is not a regular file", [](const fs::path& dir) { EXPECT_TRUE(fs::is_directory(dir / "out.png")); }},
    {"ReadOnlyFileIsRefused",
     [](const fs::path& dir) {
       Write(dir / "out.png", "kept");
       fs::permissions(dir / "out.png", fs::perms::owner_read | fs::perms::group_read);
     },
     1, "it is read-only (make it writable first)",
     [](const fs::path& dir) { EXPECT_EQ(testing::ReadWholeFile((dir / "out.png").string()), "kept"); }},
    {"OwnTmpFileIsLeftAlone", [](const fs::path& dir) { Write(dir / "out.png.tmp", "the user's own"); }, 0,
     "",
     [](const fs::path& dir) {
       EXPECT_TRUE(IsPng(dir / "out.png"));
       EXPECT_EQ(testing::ReadWholeFile((dir / "out.png.tmp").string()), "the user's own");
     }},
    {"MissingFolderIsAFailedWrite", [](const fs::path&) {}, 1, "cannot create a temporary file", nullptr},
};

class RenderOutputTest : public ::testing::TestWithParam<Case> {
 protected:
  Result Render(const fs::path& target) {
    const fs::path err = dir_ / "err.txt";
    const std::string command = std::string("'") + JV_HOST_PATH + "' --library '" + JV_OCX_PATH +
                                "' render '" + target.string() + "' --today 2003-11-09 >/dev/null 2>'" +
                                err.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadWholeFile(err.string())};
  }

  const testing::ScratchFolder scratch_{"jv-render"};
  const fs::path& dir_ = scratch_.path();
};

TEST_P(RenderOutputTest, WritesOnlyWhatSaveWouldWrite) {
  const Case& c = GetParam();
  const fs::path work = dir_ / "work";
  fs::create_directory(work);
  c.before(work);
  const bool missing_folder = c.after == nullptr;
  const Result r = Render(missing_folder ? work / "no such folder" / "out.png" : work / "out.png");
  EXPECT_EQ(r.status, c.status) << r.err;
  if (*c.message != '\0') {
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
  if (c.after) c.after(work);
  // Nothing of the write is left behind beside the target.
  for (const fs::directory_entry& entry : fs::directory_iterator(work))
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Targets, RenderOutputTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace jv::host
