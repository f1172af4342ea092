#include "apps/jornavista-host/form_persistence.h"

#include "apps/document/document_file.h"
#include "apps/document/document_property_bag.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/automation/literal_text.h"

namespace jv::host {

namespace {

// The current instance's IPersistPropertyBag.
HRESULT Persistence(FormDriver& form, ComPtr<IPersistPropertyBag>* out) {
  IDispatch* const instance = form.instance();
  if (instance == nullptr) return E_UNEXPECTED;
  return instance->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(out->put()));
}

enum class Direction { kLoad, kSave };

// Load or Save of the current instance with `bag`, lent for that one call.
HRESULT WithBag(FormDriver& form, document::DocumentBag& bag, Direction direction) {
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(Persistence(form, &persist));
  const auto lent = ComPtr<document::DocumentPropertyBag>::Adopt(new document::DocumentPropertyBag(bag));
  const HRESULT hr =
      direction == Direction::kLoad ? persist->Load(lent.get(), nullptr) : persist->Save(lent.get(), 1, 1);
  lent->Detach();
  return hr;
}

document::DocumentBag::FaultCheck BagFaults(FormDriver& form) {
  return [&form](document::BagOperation op) {
    return form.ContainerFault(op == document::BagOperation::kRead ? "bag.ReadProperty"
                                                                   : "bag.WriteProperty");
  };
}

}  // namespace

std::string DefaultName(std::size_t index) { return std::string(kClassName) + std::to_string(index + 1); }

HRESULT InitNewCurrent(FormDriver& form) {
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(Persistence(form, &persist));
  return persist->InitNew();
}

std::optional<std::string> LoadForm(Session& s, const std::string& path) {
  document::FormDocument form;
  if (auto error = document::LoadDocument(path, &form)) return error;
  for (const document::ControlRecord& c : form.controls)
    if (c.class_name != kClassName)
      return path + ":" + std::to_string(c.line) + ": control " + Quoted(c.name) + " is of class " +
             Quoted(c.class_name) + "; this host creates " + std::string(kClassName) + " only";

  // The whole document is checked: only now does the form change.
  s.form.ClearControls();
  s.placements.clear();
  for (document::ControlRecord& c : form.controls) {
    if (const HRESULT hr = s.form.AddControl(); FAILED(hr)) {
      s.form.ClearControls();
      s.placements.clear();
      return path + ": creating control " + Quoted(c.name) + " failed: " + StatusText(hr);
    }
    s.placements.push_back(Placement{c.name, c.left, c.top});
    c.properties.SetFaultCheck(BagFaults(s.form));
    // A value that cannot be converted leaves the instance as ReadProperties left it.
    const HRESULT hr = WithBag(s.form, c.properties, Direction::kLoad);
    ReportStatus(s, hr,
                 "ReadProperties of " + Quoted(c.name) + " stopped at " +
                     Quoted(ToUtf8Lossy(c.properties.last_key())));
  }
  if (!form.controls.empty()) s.form.SelectControl(0);
  return std::nullopt;
}

std::optional<std::string> SaveForm(Session& s, const std::string& path, document::ReadOnly read_only) {
  const std::string not_saved = path + ": not saved (the previous document is unchanged): ";
  const std::size_t count = s.form.ControlCount();
  const bool placed = s.placements.size() == count;
  IDispatch* const current = s.form.instance();
  document::FormDocument form;
  std::optional<std::string> error;
  for (std::size_t i = 0; i < count && !error; ++i) {
    s.form.SelectControl(i);
    document::ControlRecord c;
    c.class_name = kClassName;
    if (placed) {
      c.name = s.placements[i].name;
      c.left = s.placements[i].left;
      c.top = s.placements[i].top;
    } else {
      c.name = DefaultName(i);
    }
    if (FAILED(s.form.ControlSize(&c.width, &c.height))) {
      error = not_saved + "the size of " + Quoted(c.name) + " cannot be read";
      break;
    }
    c.properties.SetFaultCheck(BagFaults(s.form));
    if (const HRESULT hr = WithBag(s.form, c.properties, Direction::kSave); FAILED(hr)) {
      error = not_saved + "WriteProperties of " + Quoted(c.name) + " stopped at " +
              Quoted(ToUtf8Lossy(c.properties.last_key())) + ": " + StatusText(hr);
      break;
    }
    c.properties.SetFaultCheck(nullptr);
    form.controls.push_back(std::move(c));
  }
  for (std::size_t i = 0; i < count; ++i) {
    s.form.SelectControl(i);
    if (s.form.instance() == current) break;
  }
  if (error) return error;
  if (!placed) {
    s.placements.clear();
    for (const document::ControlRecord& c : form.controls)
      s.placements.push_back(Placement{c.name, c.left, c.top});
  }
  return document::SaveDocument(path, form, nullptr, read_only);
}

}  // namespace jv::host
