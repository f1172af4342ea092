// The property bag of one control in a host document: its values keep their
// variant types, and a value written equal to the write's default is left out.
#pragma once

#include <functional>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/runtime/property_bag.h"

namespace jv::document {

enum class BagOperation { kRead, kWrite };

class DocumentBag final : public platform::PropertyBag {
 public:
  struct Entry {
    Text key;
    Variant value;
  };

  // What a read or write reports before it does anything; a failure is that call's
  // result and leaves the bag as it was. Lets a host's fault injection reach the bag.
  using FaultCheck = std::function<HRESULT(BagOperation)>;

  // A copy holds copies of the values; fonts are objects, so it refers to the same ones.
  DocumentBag() = default;
  DocumentBag(const DocumentBag&) = default;
  DocumentBag(DocumentBag&&) = default;
  DocumentBag& operator=(const DocumentBag&) = default;
  DocumentBag& operator=(DocumentBag&&) = default;
  ~DocumentBag() = default;

  HRESULT ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) override;
  // Stores 16- and 32-bit integers, Booleans, text, and objects that are fonts or
  // Nothing (kept as VT_UNKNOWN whether they come as VT_UNKNOWN or VT_DISPATCH), by
  // value or by reference. Any other type fails DISP_E_BADVARTYPE and an object
  // that is no font DISP_E_TYPEMISMATCH; the bag is unchanged then.
  //
  // Equal to the default means: numbers and Booleans of the same value (True is
  // -1), the same text code unit for code unit, or the same object (COM identity),
  // Nothing included. Text never equals a number: "0" is stored against a default 0.
  HRESULT WriteProperty(TextView key, const VARIANT& value, const VARIANT& default_value) override;

  // Stores value under key as it stands, without comparing it with any default;
  // how a loaded document fills the bag. Same types as WriteProperty.
  [[nodiscard]] HRESULT Put(TextView key, const VARIANT& value);

  void SetFaultCheck(FaultCheck check) { fault_check_ = std::move(check); }
  // The key of the last ReadProperty or WriteProperty call, successful or not: where
  // a handler that failed stopped.
  const Text& last_key() const { return last_key_; }

  // The stored values in the order they were first stored.
  const std::vector<Entry>& entries() const { return entries_; }
  const Entry* Find(TextView key) const;

 private:
  HRESULT Check(BagOperation op) const { return fault_check_ ? fault_check_(op) : S_OK; }

  std::vector<Entry> entries_;
  FaultCheck fault_check_;
  Text last_key_;
};

}  // namespace jv::document
