#include "control/face/layout.h"

#include <array>

namespace jv::control::face {

namespace {

using platform::ControlDesign;
using platform::ControlKind;
using platform::TextAlignment;

constexpr platform::FontDesign kCaptionFont{u"Arial", 12.0, 400, 0, false, false, false};

constexpr ControlDesign Heading(std::string_view name, std::int32_t left, std::u16string_view caption,
                                std::int16_t tab) {
  return {name,      platform::kNotInArray, ControlKind::Label, "Frame1", left, 900, 240, 240, caption,
          kSysHighlight, kSysHighlightText, tab, nullptr, TextAlignment::Center};
}

constexpr ControlDesign DayCell(std::int16_t index) {
  return {"l",      index,      ControlKind::Label, "Picture1", CellLeft(index), CellTop(index), kCellSize,
          kCellSize, u"",       kSysWindow,         kSysWindowText, static_cast<std::int16_t>(13 + index),
          nullptr,  TextAlignment::Center};
}

constexpr auto MakeControls() {
  std::array<ControlDesign, 14 + kCellCount> c{};
  std::size_t n = 0;
  c[n++] = {"Frame1", platform::kNotInArray, ControlKind::Frame, platform::kSurfaceName, 0, 0, kFrameWidth,
            kFrameHeight, u"Jornavista", std::nullopt, std::nullopt, 1};
  c[n++] = {"Picture1", platform::kNotInArray, ControlKind::PictureBox, "Frame1", 135, 1260, 3255, 2400, u"",
            kSysWindow, kSysWindowText, 0};
  c[n++] = {"cmdPrevious", platform::kNotInArray, ControlKind::CommandButton, "Frame1", 75, 375, 765, 315,
            u"<<", std::nullopt, std::nullopt, 4};
  c[n++] = {"cmdNext", platform::kNotInArray, ControlKind::CommandButton, "Frame1", 2760, 375, 630, 315,
            u">>", std::nullopt, std::nullopt, 3};
  // The month caption carries the highlight colour as its text colour on the
  // text box's default background.
  c[n++] = {"txtYear", platform::kNotInArray, ControlKind::TextBox, "Frame1", 825, 375, 1905, 330,
            u"November, 2003", std::nullopt, kSysHighlight, 2, &kCaptionFont, TextAlignment::Center};
  // The band goes before the headings so that they are drawn above it.
  c[n++] = {"Label8", platform::kNotInArray, ControlKind::Label, "Frame1", 150, 825, 3240, 390, u"",
            kSysHighlight, std::nullopt, 12};
  c[n++] = Heading("Label1", 300, u"D", 11);
  c[n++] = Heading("Label2", 750, u"S", 10);
  c[n++] = Heading("Label3", 1200, u"T", 9);
  c[n++] = Heading("Label4", 1680, u"Q", 8);
  c[n++] = Heading("Label5", 2100, u"Q", 7);
  c[n++] = Heading("Label6", 2550, u"S", 6);
  c[n++] = Heading("Label7", 3000, u"S", 5);
  // Below the frame's bottom edge: never visible, since the control keeps the
  // frame's size.
  c[n++] = {"txtDate", platform::kNotInArray, ControlKind::TextBox, platform::kSurfaceName, 360, 3840, 2730,
            315, u"", std::nullopt, std::nullopt, 13};
  for (std::int16_t i = 1; i <= kCellCount; ++i) c[n++] = DayCell(i);
  return c;
}

constexpr auto kControls = MakeControls();

}  // namespace

const platform::FaceLayout& JornavistaLayout() {
  static const platform::FaceLayout layout{3525, 3795, kControls, /*constant=*/true};
  return layout;
}

}  // namespace jv::control::face
