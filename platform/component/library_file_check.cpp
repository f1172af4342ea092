#include "platform/component/library_file_check.h"

#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/component/file_descriptor.h"

namespace jv::component {

namespace {

// The process's own ELF class and byte order: only such a library can be loaded.
#if __SIZEOF_POINTER__ == 8
constexpr unsigned char kOwnClass = ELFCLASS64;
#else
constexpr unsigned char kOwnClass = ELFCLASS32;
#endif
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr unsigned char kOwnData = ELFDATA2LSB;
#else
constexpr unsigned char kOwnData = ELFDATA2MSB;
#endif

// Reads exactly `size` bytes at `offset`; false on a short read or an error.
bool ReadAt(int fd, void* into, std::size_t size, std::uint64_t offset) {
  auto* bytes = static_cast<char*>(into);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, bytes + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Whether [offset, offset + length) lies within a file of `size` bytes.
bool Within(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

std::string Bytes(std::uint64_t n) { return std::to_string(n) + " bytes"; }

std::optional<std::string> CheckSegments(int fd, const ElfW(Ehdr) & header, std::uint64_t size) {
  if (header.e_phentsize != sizeof(ElfW(Phdr)) || header.e_phnum == 0)
    return std::string("it is damaged: it has no valid program headers");
  const std::uint64_t table = std::uint64_t{header.e_phnum} * sizeof(ElfW(Phdr));
  if (!Within(header.e_phoff, table, size))
    return "it is truncated or damaged: its program headers lie past the end of the file (" + Bytes(size) +
           ")";
  std::vector<ElfW(Phdr)> segments(header.e_phnum);
  if (!ReadAt(fd, segments.data(), table, header.e_phoff))
    return "cannot read its program headers: " + std::string(std::strerror(errno != 0 ? errno : EIO));
  bool loadable = false;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const ElfW(Phdr)& s = segments[i];
    // What the loader maps or reads from the file; the rest it never touches.
    if (s.p_type != PT_LOAD && s.p_type != PT_DYNAMIC && s.p_type != PT_INTERP && s.p_type != PT_NOTE &&
        s.p_type != PT_GNU_PROPERTY)
      continue;
    loadable |= s.p_type == PT_LOAD;
    if (!Within(s.p_offset, s.p_filesz, size))
      return "it is truncated or damaged: segment " + std::to_string(i) + " ends at byte " +
             std::to_string(s.p_offset + s.p_filesz) + ", past the end of the file (" + Bytes(size) + ")";
    if (s.p_type == PT_LOAD && s.p_filesz > s.p_memsz)
      return "it is damaged: segment " + std::to_string(i) + " holds more of the file than it maps";
  }
  if (!loadable) return std::string("it is damaged: it has nothing to load");
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckLibraryFile(const std::string& path) {
  if (path.find('\0') != std::string::npos) return std::string("a file name cannot hold a zero byte");
  // Non-blocking, so that a FIFO does not wait for a writer: it is refused below.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return std::string(std::strerror(errno));
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return "cannot examine it: " + std::string(std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return std::string("it is a folder");
  if (!S_ISREG(st.st_mode)) return std::string("it is not a regular file");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size < sizeof(ElfW(Ehdr))) return "it is too small to be a library (" + Bytes(size) + ")";
  if (size > kMaxLibraryBytes)
    return "it is too large to be a library (" + Bytes(size) + "; at most " + Bytes(kMaxLibraryBytes) + ")";
  ElfW(Ehdr) header{};
  if (!ReadAt(fd.get(), &header, sizeof header, 0))
    return "cannot read it: " + std::string(std::strerror(errno != 0 ? errno : EIO));
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return std::string("it is not an ELF file");
  if (header.e_ident[EI_CLASS] != kOwnClass || header.e_ident[EI_DATA] != kOwnData)
    return std::string("it is a library for another kind of machine (ELF class or byte order)");
  if (header.e_type != ET_DYN) return std::string("it is not a shared library");
  return CheckSegments(fd.get(), header, size);
}

}  // namespace jv::component
