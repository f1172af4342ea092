// The month as a person reads it, in plain text as `cal` prints one: the caption,
// the weekday initials, the day cells in rows of seven with the highlighted cell
// in brackets, and the selected date beside that cell's row.
#pragma once

#include <string>
#include <vector>

#include "apps/jornavista-host/form_driver.h"

namespace jv::host {

struct MonthView {
  std::string caption;               // the month caption as the text box shows it
  std::vector<std::string> initials;  // the weekday headings, Sunday first
  std::vector<CellView> cells;       // the day cells, 1 to 42, seven a row
  std::string selected_date;         // SDate as the host reads it
};

// Each cell takes four columns; a row whose cells are all blank is left out. With
// no highlighted cell the selected date goes beside the caption. Every line ends
// with a newline.
std::string MonthPicture(const MonthView& view);

// What the form's current instance shows, through the form and the instance's
// published SDate; a failed get leaves the date empty.
MonthView ViewOf(FormDriver& form);

}  // namespace jv::host
