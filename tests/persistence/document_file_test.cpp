// The document on disk: a save that fails at any step, or whose process is
// killed, leaves the previous document byte for byte; loading refuses what it
// cannot read whole.
#include "apps/document/document_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/scratch_folder.h"

namespace jv::document {
namespace {

namespace fs = std::filesystem;

using jv::testing::ReadWholeFile;
using jv::testing::WriteWholeFile;

FormDocument Form(int controls, const std::string& sdate) {
  FormDocument form;
  for (int i = 0; i < controls; ++i) {
    ControlRecord c;
    c.class_name = "ctrJornavista";
    c.name = "c" + std::to_string(i);
    Text text;
    EXPECT_EQ(Utf8ToText(sdate, &text), S_OK);
    EXPECT_EQ(c.properties.Put(u"SDate", Variant::Str(text).raw()), S_OK);
    form.controls.push_back(std::move(c));
  }
  return form;
}

class DocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_ / "form.json").string();
    ASSERT_EQ(SaveDocument(path_, Form(2, "old")), std::nullopt);
    old_ = ReadWholeFile(path_);
  }

  // Only the document itself: no temporary file stays behind.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    return names;
  }

  jv::testing::ScratchFolder scratch_{"jv-doc"};
  const fs::path dir_ = scratch_.path();
  std::string path_;
  std::string old_;
};

struct StepFault {
  const char* name;
  SaveFaults faults;
  const char* error;
};

SaveFaults FailAt(SaveStep step, int error, std::size_t after_bytes = 0) {
  SaveFaults f;
  f.before_step = [=](SaveStep s, std::size_t written) {
    return s == step && written >= after_bytes ? error : 0;
  };
  return f;
}

SaveFaults DiskFullAfter(std::size_t bytes) {
  SaveFaults f;
  f.disk_full_after = bytes;
  return f;
}

const StepFault kStepFaults[] = {
    {"NoTemporaryFile", FailAt(SaveStep::kCreateTemporary, EACCES), "cannot create a temporary file in"},
    {"DiskFullAtOnce", DiskFullAfter(0), "writing the temporary file: No space left on device"},
    {"DiskFullPartWay", DiskFullAfter(100'000), "writing the temporary file: No space left on device"},
    {"WriteFailsPartWay", FailAt(SaveStep::kWrite, EIO, 1), "writing the temporary file: Input/output error"},
    {"FlushFails", FailAt(SaveStep::kSync, EIO), "flushing the temporary file to disk: Input/output error"},
    {"CloseFails", FailAt(SaveStep::kClose, EDQUOT), "closing the temporary file: Disk quota exceeded"},
    {"RenameFails", FailAt(SaveStep::kRename, EXDEV),
     "renaming the temporary file over it: Invalid cross-device"},
};

class SaveFaultTest : public DocumentFileTest, public ::testing::WithParamInterface<StepFault> {};

TEST_P(SaveFaultTest, LeavesThePreviousDocumentByteForByte) {
  const StepFault& c = GetParam();
  // Large enough to be written in several chunks.
  const auto error = SaveDocument(path_, Form(2000, std::string(100, 'n')), &c.faults);
  ASSERT_TRUE(error.has_value()) << c.name;
  EXPECT_EQ(error->rfind(path_ + ": not saved (the previous document is unchanged): ", 0), 0u) << *error;
  EXPECT_NE(error->find(c.error), std::string::npos) << c.name << " gave: " << *error;
  EXPECT_EQ(ReadWholeFile(path_), old_) << c.name;
  EXPECT_EQ(Files(), std::vector<std::string>{"form.json"}) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Steps, SaveFaultTest, ::testing::ValuesIn(kStepFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentFileTest, FolderFlushFailureIsReportedWithTheNewDocumentInPlace) {
  const SaveFaults faults = FailAt(SaveStep::kSyncFolder, EIO);
  const auto error = SaveDocument(path_, Form(1, "new"), &faults);
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find("saved, but flushing its folder to disk failed"), std::string::npos) << *error;
  FormDocument read;
  ASSERT_EQ(LoadDocument(path_, &read), std::nullopt);
  EXPECT_EQ(read.controls.size(), 1u);
}

// The process dies mid-write and just before the rename: the old document stays
// whole, and what is left beside it is only a hidden temporary file.
TEST_F(DocumentFileTest, KilledSaveNeverDamagesThePreviousDocument) {
  for (const SaveStep step : {SaveStep::kWrite, SaveStep::kRename}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SaveFaults faults;
      faults.before_step = [step](SaveStep s, std::size_t written) {
        if (s == step && (step != SaveStep::kWrite || written > 0)) ::raise(SIGKILL);
        return 0;
      };
      (void)SaveDocument(path_, Form(2000, std::string(100, 'k')), &faults);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(ReadWholeFile(path_), old_);
    FormDocument read;
    EXPECT_EQ(LoadDocument(path_, &read), std::nullopt);
    for (const std::string& name : Files())
      EXPECT_TRUE(name == "form.json" || name.rfind(".form.json.tmp-", 0) == 0) << name;
  }
}

TEST_F(DocumentFileTest, ThroughASymbolicLinkTheTargetIsReplacedAndItsModeKept) {
  ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
  const fs::path link = dir_ / "link.json";
  fs::create_symlink("form.json", link);
  ASSERT_EQ(SaveDocument(link.string(), Form(1, "via link")), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(ReadWholeFile(path_).find("via link"), std::string::npos);
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms(0640));
}

TEST_F(DocumentFileTest, LoadRefusesWhatItCannotReadWhole) {
  const fs::path large = dir_ / "large.json";
  WriteWholeFile(large, "");
  fs::resize_file(large, kMaxDocumentBytes + 1);  // sparse: refused before it is read
  const struct {
    std::string path;
    std::string error;
  } cases[] = {
      {large.string(), large.string() + ": too large (16777217 bytes; a document holds at most 16777216)"},
      {(dir_ / "missing.json").string(), (dir_ / "missing.json").string() + ": cannot open: No such file"},
      {dir_.string(), dir_.string() + ": not a regular file"},
  };
  for (const auto& c : cases) {
    FormDocument read;
    const auto error = LoadDocument(c.path, &read);
    ASSERT_TRUE(error.has_value()) << c.path;
    EXPECT_EQ(error->rfind(c.error, 0), 0u) << *error;
  }
  EXPECT_NE(SaveDocument(dir_.string(), Form(1, "x")), std::nullopt) << "a folder is not replaced by a file";
  EXPECT_TRUE(fs::is_directory(dir_));
}

}  // namespace
}  // namespace jv::document
