// The form to and from the host document: each instance's properties through its
// IPersistPropertyBag over a bag of the document, its name and place from the
// session's placements.
#pragma once

#include <optional>
#include <string>

#include "apps/document/document_file.h"
#include "apps/jornavista-host/script.h"

namespace jv::host {

// The one class of control the host creates and its documents hold.
inline constexpr std::string_view kClassName = "ctrJornavista";

// The name save gives the index-th instance of a form whose instances have none.
std::string DefaultName(std::size_t index);

// InitNew of the current instance: a new control's property initialisation.
[[nodiscard]] HRESULT InitNewCurrent(FormDriver& form);

// Replaces the form with the document's controls (none: an empty form). A
// document that cannot be read or holds a control of another class changes
// nothing; a control whose ReadProperties fails keeps what it read, with a status
// line.
[[nodiscard]] std::optional<std::string> LoadForm(Session& s, const std::string& path);
// Writes every instance into a document and replaces `path` with it atomically; a
// failure leaves the previous file whole. The current instance stays current.
[[nodiscard]] std::optional<std::string> SaveForm(Session& s, const std::string& path,
                                                  document::ReadOnly read_only = document::ReadOnly::kRefuse);

}  // namespace jv::host
