#include "platform/component/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/automation/ocidl.h"
#include "platform/component/registry_document.h"

namespace jv::component {

namespace {

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

// Links are followed this many times at most, as the system does for a path.
constexpr int kMaxLinks = 40;

// The file a store path names: a symbolic link (or a chain of them) is followed to
// the file it points to, which need not exist yet. The lock, the read, the
// temporary file and the rename all use this path, so that writers through the
// link and through the real path exclude each other and the link stays a link.
HRESULT ResolveLinks(const std::string& path, std::string* real, std::string* error) {
  std::filesystem::path p = path;
  for (int i = 0; i < kMaxLinks; ++i) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(p, ec);
    if (ec || !std::filesystem::is_symlink(status)) {
      *real = p.string();
      return S_OK;
    }
    const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
    if (ec) {
      *error = "cannot follow the link " + p.string() + ": " + ec.message();
      return E_FAIL;
    }
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  *error = "cannot follow the link " + path + ": " + std::strerror(ELOOP);
  return E_FAIL;
}

// Holds a lock on the store's lock file. The lock file is never replaced, unlike
// the store, so every process locks the same file.
class FileLock {
 public:
  FileLock(const std::string& store_path, int operation, std::string* error) {
    const std::string path = store_path + ".lock";
    const int flags = operation == LOCK_EX ? O_RDWR | O_CREAT | O_CLOEXEC : O_RDONLY | O_CLOEXEC;
    fd_ = ::open(path.c_str(), flags, 0644);
    // A reader of a store that nobody wrote yet finds no lock file: nothing to wait for.
    if (fd_ < 0 && operation == LOCK_SH && errno == ENOENT) {
      ok_ = true;
      return;
    }
    if (fd_ < 0) {
      *error = Errno("cannot open " + path);
      return;
    }
    while (::flock(fd_, operation) != 0) {
      if (errno == EINTR) continue;
      *error = Errno("cannot lock " + path);
      return;
    }
    ok_ = true;
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  bool ok() const { return ok_; }

 private:
  int fd_ = -1;
  bool ok_ = false;
};

// The store's text, or none when there is no file yet.
HRESULT ReadFile(const std::string& path, std::string* text, bool* exists, std::string* error) {
  *exists = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return S_OK;
    *error = Errno("cannot open " + path);
    return REGDB_E_READREGDB;
  }
  *exists = true;
  std::string content;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = Errno("cannot read " + path);
      ::close(fd);
      return REGDB_E_READREGDB;
    }
    if (n == 0) break;
    content.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  *text = std::move(content);
  return S_OK;
}

HRESULT Parse(const std::string& path, nlohmann::json* out, std::string* error) {
  std::string text;
  bool exists = false;
  JV_TRY(ReadFile(path, &text, &exists, error));
  if (!exists) {
    *out = EmptyRegistryDocument();
    return S_OK;
  }
  if (std::string why = ParseRegistryDocument(text, out); !why.empty()) {
    *error = path + " is damaged: " + why + "; it is left as it is";
    return REGDB_E_INVALIDVALUE;
  }
  return S_OK;
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

HRESULT ReplaceAtomically(const std::string& path, const std::string& text, std::string* error) {
  std::string temp = path + ".tmp.XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    *error = Errno("cannot create a temporary file beside " + path);
    return REGDB_E_WRITEREGDB;
  }
  bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
  if (!ok) *error = Errno("cannot write " + temp);
  if (::close(fd) != 0 && ok) {
    ok = false;
    *error = Errno("cannot write " + temp);
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    *error = Errno("cannot replace " + path);
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return REGDB_E_WRITEREGDB;
  }
  // The rename itself is durable only once the directory is synced.
  const std::string dir = std::filesystem::path(path).parent_path().string();
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
  return S_OK;
}

}  // namespace

std::string DefaultRegistryPath() {
  if (const char* file = std::getenv("JV_REGISTRY_FILE"); file != nullptr && *file != '\0') return file;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/')
    return std::string(data) + "/jornavista/registry.json";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::string(home) + "/.local/share/jornavista/registry.json";
  return {};
}

HRESULT RegistryStore::Read(nlohmann::json* out, std::string* error) const {
  if (out == nullptr || error == nullptr) return E_POINTER;
  if (path_.empty()) {
    *error = "no registry store: set JV_REGISTRY_FILE, XDG_DATA_HOME or HOME";
    return REGDB_E_READREGDB;
  }
  std::string real;
  if (FAILED(ResolveLinks(path_, &real, error))) return REGDB_E_READREGDB;
  FileLock lock(real, LOCK_SH, error);
  if (!lock.ok()) return REGDB_E_READREGDB;
  return Parse(real, out, error);
}

HRESULT RegistryStore::Locked(const std::function<HRESULT(const std::string&, nlohmann::json&)>& step,
                              std::string* error) {
  if (error == nullptr) return E_POINTER;
  if (path_.empty()) {
    *error = "no registry store: set JV_REGISTRY_FILE, XDG_DATA_HOME or HOME";
    return REGDB_E_WRITEREGDB;
  }
  try {
    std::string real;
    if (FAILED(ResolveLinks(path_, &real, error))) return REGDB_E_WRITEREGDB;
    const std::filesystem::path dir = std::filesystem::path(real).parent_path();
    std::error_code ec;
    if (!dir.empty()) std::filesystem::create_directories(dir, ec);
    if (ec) {
      *error = "cannot create " + dir.string() + ": " + ec.message();
      return REGDB_E_WRITEREGDB;
    }
    FileLock lock(real, LOCK_EX, error);
    if (!lock.ok()) return REGDB_E_WRITEREGDB;
    nlohmann::json doc;
    JV_TRY(Parse(real, &doc, error));
    return step(real, doc);
  } catch (const std::exception& e) {
    // No memory, or a change that met a value of a type it did not expect.
    *error = std::string("cannot update the store: ") + e.what();
    return E_UNEXPECTED;
  }
}

HRESULT RegistryStore::Update(const std::function<HRESULT(nlohmann::json&)>& change, std::string* error) {
  return Locked(
      [&](const std::string& real, nlohmann::json& doc) -> HRESULT {
        const HRESULT changed = change(doc);
        if (FAILED(changed) || changed == S_FALSE) return changed;
        if (const std::string why = ValidateRegistryDocument(doc); !why.empty()) {
          *error = "the change would damage the store: " + why;
          return E_UNEXPECTED;
        }
        return ReplaceAtomically(real, doc.dump(2) + "\n", error);
      },
      error);
}

HRESULT RegistryStore::CheckWritable(std::string* error) {
  return Locked(
      [&](const std::string& real, nlohmann::json&) -> HRESULT {
        std::string temp = real + ".tmp.XXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) {
          *error = Errno("cannot create a temporary file beside " + real);
          return REGDB_E_WRITEREGDB;
        }
        ::close(fd);
        ::unlink(temp.c_str());
        return S_OK;
      },
      error);
}

}  // namespace jv::component
