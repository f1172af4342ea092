#include "platform/face/layout_check.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/face/face_roles.h"

namespace jv::platform {

namespace {

bool IsContainer(ControlKind kind) { return kind == ControlKind::Frame || kind == ControlKind::PictureBox; }

}  // namespace

HRESULT CheckLayout(const FaceLayout& layout, DayCellBounds* out) {
  if (layout.design_width < 0 || layout.design_height < 0) return E_INVALIDARG;
  std::vector<std::string_view> containers{kSurfaceName};
  std::vector<std::int16_t> indexes;
  bool has_year = false, has_date = false, has_picture = false, has_frame = false;
  for (const ControlDesign& c : layout.controls) {
    if (std::find(containers.begin(), containers.end(), c.parent) == containers.end()) return E_INVALIDARG;
    if (c.width < 0 || c.height < 0) return E_INVALIDARG;
    if (IsDayCellArrayName(c.name)) {
      if (c.kind != ControlKind::Label || c.index == kNotInArray) return E_INVALIDARG;
      indexes.push_back(c.index);
      continue;
    }
    if (c.index != kNotInArray) return E_INVALIDARG;  // l is the face's only array
    if (std::find(containers.begin(), containers.end(), c.name) != containers.end()) return E_INVALIDARG;
    if (IsContainer(c.kind)) containers.push_back(c.name);
    const Role role = ResolveRole(c);
    has_year |= role == Role::YearBox;
    has_date |= role == Role::DateBox;
    has_picture |= role == Role::Picture;
    has_frame |= role == Role::Frame;
  }
  if (!(has_year && has_date && has_picture && has_frame) || indexes.empty()) return E_INVALIDARG;
  // The array's members run from its lowest index to its highest without a gap,
  // and so its count fits the index type.
  std::sort(indexes.begin(), indexes.end());
  for (std::size_t i = 1; i < indexes.size(); ++i)
    if (indexes[i] != indexes[i - 1] + 1) return E_INVALIDARG;
  if (indexes.size() > static_cast<std::size_t>(INT16_MAX)) return E_INVALIDARG;
  if (out != nullptr) *out = {indexes.front(), static_cast<std::int16_t>(indexes.size())};
  return S_OK;
}

}  // namespace jv::platform
