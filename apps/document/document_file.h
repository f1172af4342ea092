// The host document on disk: loading refuses what is malformed or too large, and
// saving replaces the old file atomically, so a failed or killed save never
// leaves a damaged document behind.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "apps/document/form_document.h"

namespace jv::document {

// Larger files are refused before they are read.
inline constexpr std::size_t kMaxDocumentBytes = 16u << 20;

// Reads and checks the whole file; errors read "FILE: ..." or "FILE:LINE: ...". The
// whole file is the document: a zero byte anywhere in it is refused with its
// offset, as is a path with a zero byte in it.
[[nodiscard]] std::optional<std::string> LoadDocument(const std::string& path, FormDocument* out);

// The steps of a save, in order.
enum class SaveStep { kCreateTemporary, kWrite, kSync, kClose, kRename, kSyncFolder };

// Ways to make a save fail part-way, for tests and the host's fault injection.
struct SaveFaults {
  // The temporary file takes this many bytes; the write of the next fails with
  // ENOSPC, as on a full disk.
  std::optional<std::size_t> disk_full_after;
  // Called before each step, and before each chunk of the write with the number
  // of bytes already written; a result other than 0 is the errno the step fails with.
  std::function<int(SaveStep step, std::size_t bytes_written)> before_step;
};

// Whether a save may replace a document that nobody may write (no write bit in its
// mode): refused unless the user says so, as an editor asks before it does.
enum class ReadOnly { kRefuse, kReplace };

// How a save's messages name what it writes, and what a user can do about a
// read-only file; SaveText's callers other than the document's say their own.
struct SaveWording {
  std::string_view what = "document";
  std::string_view read_only_remedy = "saving with --force replaces it";
};

// Writes text to a temporary file in the target's folder, flushes it to disk,
// renames it over path and flushes the folder. Until the rename the previous
// file is untouched; any failure before it removes the temporary file and says
// which step failed. A symbolic link at path is followed, so the link stays and its
// target is replaced; the replaced file's permission bits are kept. A path with a
// zero byte in it is refused.
[[nodiscard]] std::optional<std::string> SaveText(const std::string& path, std::string_view text,
                                                  const SaveFaults* faults = nullptr,
                                                  ReadOnly read_only = ReadOnly::kRefuse,
                                                  const SaveWording& wording = {});
// FormatDocument, then SaveText: a document that cannot be written as text
// touches no file.
[[nodiscard]] std::optional<std::string> SaveDocument(const std::string& path, const FormDocument& document,
                                                      const SaveFaults* faults = nullptr,
                                                      ReadOnly read_only = ReadOnly::kRefuse);

}  // namespace jv::document
