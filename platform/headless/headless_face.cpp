#include "platform/headless/headless_face.h"

#include <optional>
#include <stdexcept>

#include "platform/automation/literal_text.h"
#include "platform/face/day_cell_array.h"
#include "platform/face/stored_controls.h"
#include "platform/face/surface_base.h"
#include "platform/headless/faulting_date_functions.h"

namespace jv::headless {

// The shared constituent controls, each call passing the fault injector first and
// each write going to the journal.
struct HeadlessFace::Parts {
  HeadlessRuntime& runtime;

  FaultInjector& faults() { return runtime.faults(); }
  Journal& journal() { return runtime.journal(); }

  // A day cell runs hundreds of times a redraw. Each call first asks whether
  // anything is watching it (a fault armed for its operation, the journal
  // recording); when nothing is, it does its work inline without a call. The
  // checked path does the same work with the fault check first and the journal
  // entry last. The caption is the model's: written there, read from there.
  struct Cell final : platform::Label {
    FaultInjector* faults = nullptr;
    Journal* journal = nullptr;
    platform::DayGridModel::CellEntry model;  // this cell in the face's day-grid model
    ModelLabel data;

    std::string Name() const { return "l(" + std::to_string(data.index) + ")"; }
    void Record(const char* property, const std::string& value) const {
      journal->Record(Name() + "." + property + "=" + value);
    }
    bool Watched(Operation op) const { return faults->Watched(op); }
    // Copies the caption into *out, in place when the lengths already agree.
    void CopyCaption(Text* out) const {
      const TextView caption = model.caption();
      if (out->size() == caption.size()) {
        platform::CopyShort(out->data(), caption.data(), caption.size());
      } else {
        out->assign(caption);
      }
    }

    HRESULT get_Caption(Text* out) override {
      if (!faults->Armed(Operation::Caption_get) && out != nullptr) [[likely]] {
        const TextView caption = model.caption();
        if (out->size() == caption.size()) {
          platform::CopyShort(out->data(), caption.data(), caption.size());
          return S_OK;
        }
      }
      return CheckedGetCaption(out);
    }
    // The fast path takes what the grid fill writes, blanks and day numbers.
    HRESULT put_Caption(TextView caption) override {
      if (Watched(Operation::Caption_put) || caption.size() > 2) [[unlikely]] return CheckedPutCaption(caption);
      model.CaptionWritten(caption);
      return S_OK;
    }
    HRESULT put_ForeColor(OLE_COLOR color) override {
      if (Watched(Operation::ForeColor_put)) [[unlikely]] return CheckedPutForeColor(color);
      data.fore = color;
      return S_OK;
    }
    HRESULT put_BackColor(OLE_COLOR color) override {
      if (Watched(Operation::BackColor_put)) [[unlikely]] return CheckedPutBackColor(color);
      data.back = color;
      model.BackColorWritten(color);
      return S_OK;
    }

    [[gnu::noinline]] HRESULT CheckedGetCaption(Text* out) {
      JV_TRY(faults->Check(Operation::Caption_get));
      if (out == nullptr) return E_POINTER;
      CopyCaption(out);
      return S_OK;
    }
    [[gnu::noinline]] HRESULT CheckedPutCaption(TextView caption) {
      JV_TRY(faults->Check(Operation::Caption_put));
      model.CaptionWritten(caption);
      if (journal->enabled()) Record("Caption", ToUtf8Lossy(caption));
      return S_OK;
    }
    [[gnu::noinline]] HRESULT CheckedPutForeColor(OLE_COLOR color) {
      JV_TRY(faults->Check(Operation::ForeColor_put));
      data.fore = color;
      if (journal->enabled()) Record("ForeColor", BasicHex32(color));
      return S_OK;
    }
    [[gnu::noinline]] HRESULT CheckedPutBackColor(OLE_COLOR color) {
      JV_TRY(faults->Check(Operation::BackColor_put));
      data.back = color;
      model.BackColorWritten(color);
      if (journal->enabled()) Record("BackColor", BasicHex32(color));
      return S_OK;
    }
  };

  // The array's calls take the same two paths: inline while no fault is armed.
  struct DayCells final : platform::DayCellArray<Cell> {
    using Base = platform::DayCellArray<Cell>;
    FaultInjector* faults = nullptr;

    HRESULT get_Count(std::int16_t* out) override {
      JV_TRY(faults->Check(Operation::l_Count));
      return Base::get_Count(out);
    }
    HRESULT get_LBound(std::int16_t* out) override {
      JV_TRY(faults->Check(Operation::l_LBound));
      return Base::get_LBound(out);
    }
    HRESULT get_UBound(std::int16_t* out) override {
      JV_TRY(faults->Check(Operation::l_UBound));
      return Base::get_UBound(out);
    }
    // The cells' place and number, kept beside the base's once it is allocated,
    // so that a fetch is a bounds check and an address.
    Cell* first = nullptr;
    unsigned cell_count = 0;

    HRESULT Item(std::int16_t index, platform::Label** out) override {
      const unsigned slot = static_cast<unsigned>(index - lbound());
      if (slot < cell_count && out != nullptr && !faults->Armed(Operation::l_Item)) [[likely]] {
        *out = first + slot;
        return S_OK;
      }
      return CheckedItem(index, out);
    }
    [[gnu::noinline]] HRESULT CheckedItem(std::int16_t index, platform::Label** out) {
      JV_TRY(faults->Check(Operation::l_Item));
      return Base::Item(index, out);
    }
  };

  struct TextBoxImpl final : platform::TextBoxBase {
    Parts* parts = nullptr;
    std::string name;
    Operation get_op, put_op;

    HRESULT get_Text(Text* out) override {
      JV_TRY(parts->faults().Check(get_op));
      return TextBoxBase::get_Text(out);
    }
    HRESULT put_Text(TextView value) override {
      JV_TRY(parts->faults().Check(put_op));
      text = value;
      if (this == &parts->txtYear) parts->model->YearBoxWritten(value);
      if (parts->journal().enabled()) parts->journal().Record(name + ".Text=" + ToUtf8Lossy(value));
      return S_OK;
    }
  };

  struct PictureImpl final : platform::PictureBox {
    Parts* parts = nullptr;
    HRESULT SetFocus() override {
      JV_TRY(parts->faults().Check(Operation::Picture1_SetFocus));
      parts->runtime.SetFocusTo(parts->picture_name);
      return S_OK;
    }
  };

  struct FrameImpl final : platform::DesignSizedFrame {
    FaultInjector* faults = nullptr;
    HRESULT get_Width(std::int32_t* out) override {
      JV_TRY(faults->Check(Operation::Frame1_Width_get));
      return DesignSizedFrame::get_Width(out);
    }
    HRESULT get_Height(std::int32_t* out) override {
      JV_TRY(faults->Check(Operation::Frame1_Height_get));
      return DesignSizedFrame::get_Height(out);
    }
  };

  struct SurfaceImpl final : platform::SurfaceBase {
    SurfaceImpl(Parts& p, HeadlessFace& face, platform::Container& container)
        : SurfaceBase(face, container), parts(p) {}
    Parts& parts;

    HRESULT put_Width(std::int32_t twips) override {
      JV_TRY(parts.faults().Check(Operation::UserControl_Width_put));
      return SurfaceBase::put_Width(twips);
    }
    HRESULT put_Height(std::int32_t twips) override {
      JV_TRY(parts.faults().Check(Operation::UserControl_Height_put));
      return SurfaceBase::put_Height(twips);
    }
    void OnSizePut(std::int32_t w, std::int32_t h) override {
      parts.journal().Record("UserControl.Size=" + std::to_string(w) + "x" + std::to_string(h));
    }
    HRESULT PropertyChanged(TextView name) override {
      JV_TRY(parts.faults().Check(Operation::PropertyChanged));
      if (parts.journal().enabled()) parts.journal().Record("PropertyChanged " + ToUtf8Lossy(name));
      return SurfaceBase::PropertyChanged(name);
    }
    HRESULT get_AmbientFont(IFont** out) override {
      JV_TRY(parts.faults().Check(Operation::AmbientFont));
      return SurfaceBase::get_AmbientFont(out);
    }
  };

  Parts(HeadlessRuntime& r, HeadlessFace& face, platform::Container& container)
      : runtime(r), surface(*this, face, container) {}

  platform::DayGridModel* model = nullptr;
  // The runtime's date functions noted by the model, called directly: the face
  // hands these to the control rather than the base's, which reach the same
  // functions through a second virtual call.
  std::optional<platform::NotedDatesOver<FaultingDateFunctions>> dates;
  std::string picture_name, previous_name, next_name;
  DayCells l;
  std::vector<ModelLabel> headings;
  TextBoxImpl txtYear, txtDate;
  PictureImpl picture;
  FrameImpl frame;
  SurfaceImpl surface;
};

HeadlessFace::HeadlessFace(HeadlessRuntime& runtime, platform::Container& container,
                           const platform::FaceLayout& layout, const platform::FaceRoles& roles)
    : runtime_(runtime), parts_(std::make_unique<Parts>(runtime, *this, container)) {
  SetUpModel(roles, runtime.dates());
  Parts& p = *parts_;
  p.model = model();
  p.dates.emplace(runtime.faulting_dates(), *p.model);
  p.l.faults = &runtime.faults();
  p.txtYear.parts = p.txtDate.parts = &p;
  p.picture.parts = &p;
  p.frame.faults = &runtime.faults();
  p.txtYear.name = std::string(roles.year_box->name);
  p.txtYear.get_op = Operation::txtYear_Text_get;
  p.txtYear.put_op = Operation::txtYear_Text_put;
  p.txtDate.name = std::string(roles.date_box->name);
  p.txtDate.get_op = Operation::txtDate_Text_get;
  p.txtDate.put_op = Operation::txtDate_Text_put;
  p.picture_name = std::string(roles.picture->name);
  p.previous_name = roles.previous_button ? std::string(roles.previous_button->name) : std::string();
  p.next_name = roles.next_button ? std::string(roles.next_button->name) : std::string();
  p.surface.StoreSize(layout.design_width, layout.design_height);

  p.l.Allocate(roles.cells);
  p.l.first = p.l.cells().data();
  p.l.cell_count = static_cast<unsigned>(p.l.cells().size());
  platform::FillStoredControls(roles, p.txtYear, p.txtDate, p.frame, p.l,
                               [&](Parts::Cell& cell, const platform::ControlDesign& c) {
                                 // The model was made from the same roles: every day cell has its entry.
                                 cell.faults = &runtime.faults();
                                 cell.journal = &runtime.journal();
                                 cell.model = *p.model->EntryOf(c.index);
                                 cell.data.name.assign(c.name);
                                 cell.data.index = c.index;
                                 cell.data.caption.ReadFrom(cell.model);
                                 cell.data.fore = c.fore_color.value_or(kSysWindowText);
                                 cell.data.back = c.back_color.value_or(kSysWindow);
                               });
  p.headings.reserve(roles.headings.size());
  for (const platform::ControlDesign* c : roles.headings)
    p.headings.push_back({std::string(c->name), c->index, LabelCaption(c->caption),
                          c->fore_color.value_or(kSysWindowText), c->back_color.value_or(kSysWindow)});
}

HeadlessFace::~HeadlessFace() = default;

platform::DateFunctions& HeadlessFace::Dates() { return *parts_->dates; }
platform::LabelArray& HeadlessFace::l() { return parts_->l; }
platform::TextBox& HeadlessFace::txtYear() { return parts_->txtYear; }
platform::TextBox& HeadlessFace::txtDate() { return parts_->txtDate; }
platform::PictureBox& HeadlessFace::Picture1() { return parts_->picture; }
platform::Frame& HeadlessFace::Frame1() { return parts_->frame; }
platform::Surface& HeadlessFace::UserControl() { return parts_->surface; }

HRESULT HeadlessFace::ClickCell(std::int16_t index) {
  if (parts_->l.Find(index) == nullptr) return E_INVALIDARG;
  return RaiseCellClick(index);
}

HRESULT HeadlessFace::ClickNext() {
  runtime_.SetFocusTo(parts_->next_name);
  return RaiseNextClick();
}

HRESULT HeadlessFace::ClickPrevious() {
  runtime_.SetFocusTo(parts_->previous_name);
  return RaisePreviousClick();
}

HRESULT HeadlessFace::PressKey(std::int16_t key_code, std::int16_t shift) { return RaiseKeyDown(key_code, shift); }

HRESULT HeadlessFace::RequestSize(std::int32_t width, std::int32_t height) {
  return parts_->surface.Request(width, height);
}

const ModelLabel& HeadlessFace::cell(std::int16_t index) const {
  const Parts::Cell* cell = parts_->l.Find(index);
  if (cell == nullptr) throw std::out_of_range("no day cell of that index");
  return cell->data;
}
std::int16_t HeadlessFace::cell_count() const { return parts_->l.count(); }
const Text& HeadlessFace::year_text() const { return parts_->txtYear.text; }
const Text& HeadlessFace::date_text() const { return parts_->txtDate.text; }
std::int32_t HeadlessFace::width() const { return parts_->surface.width(); }
std::int32_t HeadlessFace::height() const { return parts_->surface.height(); }

}  // namespace jv::headless
