// An owned POSIX file descriptor: closed when it goes, or at once by Close, which
// reports what close reports (a deferred write error shows there).
#pragma once

#include <unistd.h>

#include <cerrno>

namespace jv::component {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // 0, or the errno of the failed close; the descriptor is given up either way.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

}  // namespace jv::component
