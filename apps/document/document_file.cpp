#include "apps/document/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/automation/literal_text.h"
#include "platform/component/file_descriptor.h"

namespace jv::document {

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

using component::FileDescriptor;

// Where a save goes: the file a symbolic link leads to, its folder, and the
// permission bits to keep.
struct Target {
  std::string path;
  std::string folder;
  std::string base;
  std::optional<mode_t> mode;
};

std::optional<std::string> Resolve(const std::string& path, ReadOnly read_only, std::string_view remedy,
                                   Target* out) {
  Target t;
  t.path = path;
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) {
      char* real = ::realpath(path.c_str(), nullptr);
      if (real == nullptr) return "its symbolic link leads to no file: " + ErrnoText(errno);
      t.path = real;
      std::free(real);
      if (::stat(t.path.c_str(), &st) != 0) return "cannot examine " + t.path + ": " + ErrnoText(errno);
    }
    if (!S_ISREG(st.st_mode)) return "it is not a regular file";
    t.mode = st.st_mode & 07777;
    if ((*t.mode & 0222) == 0 && read_only == ReadOnly::kRefuse)
      return "it is read-only (" + std::string(remedy) + ")";
  } else if (errno != ENOENT) {
    return "cannot examine it: " + ErrnoText(errno);
  }
  const std::filesystem::path p(t.path);
  t.base = p.filename().string();
  if (t.base.empty() || t.base == "." || t.base == "..") return "it names a folder, not a file";
  t.folder = p.has_parent_path() ? p.parent_path().string() : std::string(1, '.');
  *out = std::move(t);
  return std::nullopt;
}

int Injected(const SaveFaults* faults, SaveStep step, std::size_t bytes_written) {
  return faults != nullptr && faults->before_step ? faults->before_step(step, bytes_written) : 0;
}

// Writes all of text, in chunks so that a hook sees the write part-way.
int WriteAll(int fd, std::string_view text, const SaveFaults* faults) {
  constexpr std::size_t kChunk = 64 * 1024;
  std::size_t done = 0;
  while (done < text.size()) {
    if (const int e = Injected(faults, SaveStep::kWrite, done)) return e;
    std::size_t n = std::min(kChunk, text.size() - done);
    if (faults != nullptr && faults->disk_full_after) {
      if (done >= *faults->disk_full_after) return ENOSPC;
      n = std::min(n, *faults->disk_full_after - done);
    }
    const ssize_t written = ::write(fd, text.data() + done, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

mode_t NewFileMode() {
  // umask can only be read by setting it; the host has one thread.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::optional<std::string> LoadDocument(const std::string& path, FormDocument* out) {
  if (path.find('\0') != std::string::npos) return Quoted(path) + ": a file name cannot hold a zero byte";
  // Non-blocking, so that opening a FIFO by mistake does not hang; a regular
  // file reads the same either way.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return path + ": cannot open: " + ErrnoText(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return path + ": cannot examine: " + ErrnoText(errno);
  if (!S_ISREG(st.st_mode)) return path + ": not a regular file";
  const auto too_large = [&path](std::size_t size) {
    return path + ": too large (" + std::to_string(size) + " bytes; a document holds at most " +
           std::to_string(kMaxDocumentBytes) + ")";
  };
  if (static_cast<std::uintmax_t>(st.st_size) > kMaxDocumentBytes)
    return too_large(static_cast<std::size_t>(st.st_size));
  // The file may grow while it is read: one byte past the limit is enough to tell.
  std::string text(static_cast<std::size_t>(st.st_size) + 1, '\0');
  std::size_t size = 0;
  while (true) {
    if (size == text.size()) {
      if (size > kMaxDocumentBytes) return too_large(size);
      text.resize(std::min(text.size() * 2 + 1, kMaxDocumentBytes + 1));
    }
    const ssize_t n = ::read(fd.get(), text.data() + size, text.size() - size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return path + ": cannot read: " + ErrnoText(errno);
    }
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  if (size > kMaxDocumentBytes) return too_large(size);
  text.resize(size);
  return ParseDocument(text, path, out);
}

std::optional<std::string> SaveText(const std::string& path, std::string_view text, const SaveFaults* faults,
                                    ReadOnly read_only, const SaveWording& wording) {
  if (path.find('\0') != std::string::npos)
    return Quoted(path) + ": not saved: a file name cannot hold a zero byte";
  const std::string what(wording.what);
  const std::string not_saved = path + ": not saved (the previous " + what + " is unchanged): ";
  Target target;
  if (auto error = Resolve(path, read_only, wording.read_only_remedy, &target)) return not_saved + *error;

  // Hidden, beside the target, so that the rename stays within one file system.
  std::string temporary = target.folder + "/." + target.base.substr(0, 100) + ".tmp-XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  int error = Injected(faults, SaveStep::kCreateTemporary, 0);
  int raw_fd = -1;
  if (error == 0) {
    raw_fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (raw_fd < 0) error = errno;
  }
  if (error != 0)
    return not_saved + "cannot create a temporary file in " + target.folder + ": " + ErrnoText(error);
  temporary.assign(name.data());
  FileDescriptor fd(raw_fd);
  const auto fail = [&](std::string_view doing, int e) {
    ::unlink(temporary.c_str());
    return not_saved + std::string(doing) + ": " + ErrnoText(e);
  };

  if (::fchmod(fd.get(), target.mode.value_or(NewFileMode())) != 0)
    return fail("setting the permissions of the temporary file", errno);
  if ((error = WriteAll(fd.get(), text, faults)) != 0) return fail("writing the temporary file", error);
  if ((error = Injected(faults, SaveStep::kSync, text.size())) == 0 && ::fsync(fd.get()) != 0) error = errno;
  if (error != 0) return fail("flushing the temporary file to disk", error);
  if ((error = Injected(faults, SaveStep::kClose, text.size())) == 0) error = fd.Close();
  if (error != 0) return fail("closing the temporary file", error);
  if ((error = Injected(faults, SaveStep::kRename, text.size())) == 0 &&
      ::rename(temporary.c_str(), target.path.c_str()) != 0)
    error = errno;
  if (error != 0) return fail("renaming the temporary file over it", error);

  // The new document is in place; without this flush the rename itself might not
  // survive a power loss.
  if ((error = Injected(faults, SaveStep::kSyncFolder, text.size())) == 0) {
    FileDescriptor folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0 || ::fsync(folder.get()) != 0) error = errno;
    // Some file systems cannot flush a folder at all; nothing more can be done there.
    if (error == EINVAL || error == ENOTSUP) error = 0;
  }
  if (error != 0)
    return path + ": saved, but flushing its folder to disk failed (" + ErrnoText(error) +
           "); the new " + what + " may not survive a power loss";
  return std::nullopt;
}

std::optional<std::string> SaveDocument(const std::string& path, const FormDocument& document,
                                        const SaveFaults* faults, ReadOnly read_only) {
  std::string text;
  if (auto error = FormatDocument(document, &text))
    return path + ": not saved (the previous document is unchanged): " + *error;
  return SaveText(path, text, faults, read_only);
}

}  // namespace jv::document
