#include "apps/jornavista-host/month_picture.h"

#include <algorithm>

#include "apps/jornavista-host/member_calls.h"
#include "apps/jornavista-host/script.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/bstr.h"

namespace jv::host {

namespace {

constexpr std::size_t kColumns = 7;
constexpr std::size_t kCellWidth = 4;
// A cell the control marks as selected takes the system highlight as its back colour.
constexpr OLE_COLOR kHighlight = 0x8000000Du;

// The control paints these initials whatever the regional settings; the design
// fixes them and a container sees only their pixels, so the picture repeats them.
const std::vector<std::string> kPaintedInitials = {"D", "S", "T", "Q", "Q", "S", "S"};

// Right-aligned in its cell, as cal aligns day numbers; a highlighted cell's
// number sits between brackets.
std::string CellText(const std::string& caption, bool highlighted) {
  std::string shown = highlighted ? "[" + caption + "]" : caption + " ";
  if (shown.size() < kCellWidth) shown.insert(0, kCellWidth - shown.size(), ' ');
  return shown;
}

void TrimRight(std::string* line) {
  line->erase(std::find_if(line->rbegin(), line->rend(), [](char c) { return c != ' '; }).base(), line->end());
}

}  // namespace

std::string MonthPicture(const MonthView& view) {
  const std::size_t width = kColumns * kCellWidth;
  const std::string beside = "   SDate " + (view.selected_date.empty() ? "(empty)" : view.selected_date);
  bool date_shown = false;
  const bool any_highlight = std::any_of(view.cells.begin(), view.cells.end(),
                                         [](const CellView& c) { return c.back == kHighlight; });

  std::string caption = view.caption;
  if (caption.size() < width) caption.insert(0, (width - caption.size()) / 2, ' ');
  if (!any_highlight) {
    caption.resize(std::max(caption.size(), width), ' ');
    caption += beside;
    date_shown = true;
  }
  TrimRight(&caption);
  std::string out = caption + "\n";

  std::string headings;
  for (const std::string& initial : view.initials) headings += CellText(initial, false);
  TrimRight(&headings);
  out += headings + "\n";

  for (std::size_t row = 0; row * kColumns < view.cells.size(); ++row) {
    std::string line;
    bool blank = true, highlighted_row = false;
    for (std::size_t col = 0; col < kColumns && row * kColumns + col < view.cells.size(); ++col) {
      const CellView& cell = view.cells[row * kColumns + col];
      const std::string caption_text = ToUtf8Lossy(cell.caption);
      const bool highlighted = cell.back == kHighlight;
      blank = blank && caption_text.empty() && !highlighted;
      highlighted_row = highlighted_row || highlighted;
      line += CellText(caption_text, highlighted);
    }
    if (blank) continue;
    if (highlighted_row && !date_shown) {
      line.resize(std::max(line.size(), width), ' ');
      line += beside;
      date_shown = true;
    }
    TrimRight(&line);
    out += line + "\n";
  }
  return out;
}

MonthView ViewOf(FormDriver& form) {
  MonthView view;
  view.caption = ToUtf8Lossy(form.YearText());
  view.initials = kPaintedInitials;
  for (std::int16_t i = 1; i <= form.CellCount(); ++i) view.cells.push_back(form.Cell(i));
  Variant date;
  if (SUCCEEDED(GetProperty(form, jornavista::DISPID_SDate, &date)) && date.raw().vt == VT_BSTR) {
    const BSTR text = date.raw().bstrVal;
    view.selected_date = ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
  }
  return view;
}

Command PrintCommand() {
  return {"print", "print", "prints the month as a person reads it: caption, weekday initials, days, the "
          "highlighted cell in brackets, SDate beside it", true, false,
          [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
            if (line.words.size() != 1) return "usage: print";
            *run = [](Session& s) -> std::optional<std::string> {
              s.out << MonthPicture(ViewOf(s.form));
              return std::nullopt;
            };
            return std::nullopt;
          }};
}

}  // namespace jv::host
