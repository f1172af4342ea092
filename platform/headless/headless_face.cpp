#include "platform/headless/headless_face.h"

#include <cstdio>

namespace jv::headless {

namespace {

std::string Hex(OLE_COLOR c) {
  char buf[16];
  // OLE_COLOR is unsigned long on Windows, unsigned int elsewhere.
  std::snprintf(buf, sizeof buf, "&H%08X", static_cast<unsigned>(c));
  return buf;
}

// Nested Resize runs deeper than this mean a handler that never settles.
constexpr int kMaxResizeDepth = 8;

}  // namespace

struct HeadlessFace::Parts {
  HeadlessRuntime& runtime;
  platform::Container& container;
  HeadlessFace& face;

  FaultInjector& faults() { return runtime.faults(); }
  Journal& journal() { return runtime.journal(); }

  struct Cell final : platform::Label {
    Parts* parts = nullptr;
    ModelLabel data;

    std::string Name() const { return "l(" + std::to_string(data.index) + ")"; }
    HRESULT get_Caption(Text* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::Caption_get); FAILED(hr)) return hr;
      data.caption.CopyTo(out);
      return S_OK;
    }
    HRESULT put_Caption(TextView caption) override {
      if (HRESULT hr = parts->faults().Check(Operation::Caption_put); FAILED(hr)) return hr;
      data.caption.Assign(caption);
      if (parts->journal().enabled()) parts->journal().Record(Name() + ".Caption=" + ToUtf8Lossy(caption));
      return S_OK;
    }
    HRESULT put_ForeColor(OLE_COLOR color) override {
      if (HRESULT hr = parts->faults().Check(Operation::ForeColor_put); FAILED(hr)) return hr;
      data.fore = color;
      if (parts->journal().enabled()) parts->journal().Record(Name() + ".ForeColor=" + Hex(color));
      return S_OK;
    }
    HRESULT put_BackColor(OLE_COLOR color) override {
      if (HRESULT hr = parts->faults().Check(Operation::BackColor_put); FAILED(hr)) return hr;
      data.back = color;
      if (parts->journal().enabled()) parts->journal().Record(Name() + ".BackColor=" + Hex(color));
      return S_OK;
    }
  };

  struct DayCells final : platform::LabelArray {
    Parts* parts = nullptr;
    std::int16_t lbound = 1;
    std::vector<Cell> cells;  // cells[i] has index lbound + i, without gaps

    HRESULT get_Count(std::int16_t* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::l_Count); FAILED(hr)) return hr;
      *out = static_cast<std::int16_t>(cells.size());
      return S_OK;
    }
    HRESULT get_LBound(std::int16_t* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::l_LBound); FAILED(hr)) return hr;
      *out = lbound;
      return S_OK;
    }
    HRESULT get_UBound(std::int16_t* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::l_UBound); FAILED(hr)) return hr;
      *out = static_cast<std::int16_t>(lbound + static_cast<std::int16_t>(cells.size()) - 1);
      return S_OK;
    }
    HRESULT Item(std::int16_t index, platform::Label** out) override {
      if (HRESULT hr = parts->faults().Check(Operation::l_Item); FAILED(hr)) return hr;
      const int slot = index - lbound;
      if (slot < 0 || slot >= static_cast<int>(cells.size())) return CTL_E_ARRAYELEMENTMISSING;
      *out = &cells[static_cast<std::size_t>(slot)];
      return S_OK;
    }
  };

  struct TextBoxImpl final : platform::TextBox {
    Parts* parts = nullptr;
    std::string name;
    Operation get_op, put_op;
    Text text;

    HRESULT get_Text(Text* out) override {
      if (HRESULT hr = parts->faults().Check(get_op); FAILED(hr)) return hr;
      *out = text;
      return S_OK;
    }
    HRESULT put_Text(TextView value) override {
      if (HRESULT hr = parts->faults().Check(put_op); FAILED(hr)) return hr;
      text = value;
      if (parts->journal().enabled()) parts->journal().Record(name + ".Text=" + ToUtf8Lossy(value));
      return S_OK;
    }
  };

  struct PictureImpl final : platform::PictureBox {
    Parts* parts = nullptr;
    HRESULT SetFocus() override {
      if (HRESULT hr = parts->faults().Check(Operation::Picture1_SetFocus); FAILED(hr)) return hr;
      parts->runtime.SetFocusTo("Picture1");
      return S_OK;
    }
  };

  struct FrameImpl final : platform::Frame {
    Parts* parts = nullptr;
    std::int32_t width = 0, height = 0;
    HRESULT get_Width(std::int32_t* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::Frame1_Width_get); FAILED(hr)) return hr;
      *out = width;
      return S_OK;
    }
    HRESULT get_Height(std::int32_t* out) override {
      if (HRESULT hr = parts->faults().Check(Operation::Frame1_Height_get); FAILED(hr)) return hr;
      *out = height;
      return S_OK;
    }
  };

  struct SurfaceImpl final : platform::Surface {
    Parts* parts = nullptr;
    std::int32_t width = 0, height = 0;
    int resize_depth = 0;

    HRESULT get_Width(std::int32_t* out) override {
      *out = width;
      return S_OK;
    }
    HRESULT get_Height(std::int32_t* out) override {
      *out = height;
      return S_OK;
    }
    HRESULT put_Width(std::int32_t twips) override {
      if (HRESULT hr = parts->faults().Check(Operation::UserControl_Width_put); FAILED(hr)) return hr;
      return Resize(twips, height);
    }
    HRESULT put_Height(std::int32_t twips) override {
      if (HRESULT hr = parts->faults().Check(Operation::UserControl_Height_put); FAILED(hr)) return hr;
      return Resize(width, twips);
    }
    // A size that changes raises Resize synchronously, nested inside the put.
    HRESULT Resize(std::int32_t w, std::int32_t h) {
      if (w < 0 || h < 0) return E_INVALIDARG;
      if (w == width && h == height) return S_OK;
      width = w;
      height = h;
      parts->journal().Record("UserControl.Size=" + std::to_string(w) + "x" + std::to_string(h));
      // The nested Resize's status goes to the runtime, like any event's; the put
      // itself succeeded.
      (void)RaiseResize();
      return S_OK;
    }
    HRESULT RaiseResize() {
      platform::ControlEvents* handlers = parts->face.handlers();
      if (handlers == nullptr) return S_OK;
      if (resize_depth >= kMaxResizeDepth) return E_UNEXPECTED;
      ++resize_depth;
      const HRESULT hr = handlers->Resize();
      --resize_depth;
      return hr;
    }
    HRESULT PropertyChanged(TextView name) override {
      if (HRESULT hr = parts->faults().Check(Operation::PropertyChanged); FAILED(hr)) return hr;
      if (parts->journal().enabled()) parts->journal().Record("PropertyChanged " + ToUtf8Lossy(name));
      return parts->container.OnPropertyChanged(name);
    }
    HRESULT get_AmbientFont(IFont** out) override {
      if (HRESULT hr = parts->faults().Check(Operation::AmbientFont); FAILED(hr)) return hr;
      return parts->container.GetAmbientFont(out);
    }
  };

  DayCells l;
  std::vector<ModelLabel> headings;
  TextBoxImpl txtYear, txtDate;
  PictureImpl picture;
  FrameImpl frame;
  SurfaceImpl surface;
};

HeadlessFace::HeadlessFace(HeadlessRuntime& runtime, platform::Container& container,
                           const platform::FaceLayout& layout)
    : runtime_(runtime), parts_(new Parts{runtime, container, *this, {}, {}, {}, {}, {}, {}, {}}) {
  Parts& p = *parts_;
  p.l.parts = &p;
  p.txtYear.parts = p.txtDate.parts = &p;
  p.picture.parts = &p;
  p.frame.parts = &p;
  p.surface.parts = &p;
  p.txtYear.name = "txtYear";
  p.txtYear.get_op = Operation::txtYear_Text_put;  // nothing reads the caption box back
  p.txtYear.put_op = Operation::txtYear_Text_put;
  p.txtDate.name = "txtDate";
  p.txtDate.get_op = Operation::txtDate_Text_get;
  p.txtDate.put_op = Operation::txtDate_Text_put;
  p.surface.width = layout.design_width;
  p.surface.height = layout.design_height;

  std::int16_t lowest = INT16_MAX, highest = INT16_MIN;
  for (const platform::ControlDesign& c : layout.controls)
    if (c.name == "l" && c.index != platform::kNotInArray) {
      lowest = std::min(lowest, c.index);
      highest = std::max(highest, c.index);
    }
  p.l.lbound = lowest;
  p.l.cells.resize(static_cast<std::size_t>(highest - lowest + 1));
  for (Parts::Cell& cell : p.l.cells) cell.parts = &p;

  for (const platform::ControlDesign& c : layout.controls) {
    ModelLabel label{std::string(c.name), c.index, LabelText(c.caption), c.fore_color.value_or(kSysWindowText),
                     c.back_color.value_or(kSysWindow)};
    if (c.name == "l") {
      p.l.cells[static_cast<std::size_t>(c.index - lowest)].data = std::move(label);
    } else if (c.kind == platform::ControlKind::Label) {
      p.headings.push_back(std::move(label));
    } else if (c.name == "txtYear") {
      p.txtYear.text = c.caption;
    } else if (c.name == "txtDate") {
      p.txtDate.text = c.caption;
    } else if (c.name == "Frame1") {
      p.frame.width = c.width;
      p.frame.height = c.height;
    }
  }
}

HeadlessFace::~HeadlessFace() = default;

platform::LabelArray& HeadlessFace::l() { return parts_->l; }
platform::TextBox& HeadlessFace::txtYear() { return parts_->txtYear; }
platform::TextBox& HeadlessFace::txtDate() { return parts_->txtDate; }
platform::PictureBox& HeadlessFace::Picture1() { return parts_->picture; }
platform::Frame& HeadlessFace::Frame1() { return parts_->frame; }
platform::Surface& HeadlessFace::UserControl() { return parts_->surface; }

HRESULT HeadlessFace::ClickCell(std::int16_t index) {
  const int slot = index - parts_->l.lbound;
  if (slot < 0 || slot >= static_cast<int>(parts_->l.cells.size())) return E_INVALIDARG;
  if (handlers_ == nullptr) return S_OK;
  std::int16_t arg = index;
  return handlers_->l_Click(arg);
}

HRESULT HeadlessFace::ClickNext() {
  runtime_.SetFocusTo("cmdNext");
  return handlers_ ? handlers_->cmdNext_Click() : S_OK;
}

HRESULT HeadlessFace::ClickPrevious() {
  runtime_.SetFocusTo("cmdPrevious");
  return handlers_ ? handlers_->cmdPrevious_Click() : S_OK;
}

HRESULT HeadlessFace::PressKey(std::int16_t key_code, std::int16_t shift) {
  if (handlers_ == nullptr) return S_OK;
  return handlers_->Picture1_KeyDown(key_code, shift);
}

HRESULT HeadlessFace::RequestSize(std::int32_t width, std::int32_t height) {
  if (width < 0 || height < 0) return E_INVALIDARG;
  Parts::SurfaceImpl& s = parts_->surface;
  s.width = width;
  s.height = height;
  return s.RaiseResize();
}

const ModelLabel& HeadlessFace::cell(std::int16_t index) const {
  return parts_->l.cells.at(static_cast<std::size_t>(index - parts_->l.lbound)).data;
}
std::int16_t HeadlessFace::cell_count() const { return static_cast<std::int16_t>(parts_->l.cells.size()); }
const Text& HeadlessFace::year_text() const { return parts_->txtYear.text; }
const Text& HeadlessFace::date_text() const { return parts_->txtDate.text; }
std::int32_t HeadlessFace::width() const { return parts_->surface.width; }
std::int32_t HeadlessFace::height() const { return parts_->surface.height; }

}  // namespace jv::headless
