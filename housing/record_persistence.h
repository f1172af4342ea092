// The instance's properties as the record's binary form, for the persistence
// interfaces that carry bytes (IPersistStreamInit, IPersistStorage): the instance
// saves into and loads from a PropertyRecord through its own IPersistPropertyBag.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/automation/ocidl.h"

namespace jv::housing {

// Saves `persist` into a record and encodes it. Refuses, with EncodeRecord's or
// PropertyRecord::Write's status, whatever LoadRecordBytes would refuse, so what
// it writes loads back equal. *out is written only on success.
[[nodiscard]] HRESULT SaveRecordBytes(IPersistPropertyBag& persist, bool clear_dirty,
                                      std::vector<std::uint8_t>* out);

// Decodes `bytes`, checks that each value the control reads converts to its
// property's type (BackColor and ForeColor 32-bit, Enabled a truth value, Font a
// font object, the styles 16-bit, SDate text), and only then loads the record into
// `persist`. A record that fails to decode keeps DecodeRecord's status; a value its
// property cannot take fails with STG_E_DOCFILECORRUPT. Either way nothing is
// applied. Names that are no property of the control are left unread.
[[nodiscard]] HRESULT LoadRecordBytes(IPersistPropertyBag& persist, std::span<const std::uint8_t> bytes);

}  // namespace jv::housing
