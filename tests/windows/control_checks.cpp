// The control built for Windows starting on the headless runtime, with the regional
// settings of the system: the month grid, the highlighted day, the caption and the
// selected date; then one page forward and one day click.
#include <memory>

#include "control/ctr_jornavista.h"
#include "platform/dates/calendar.h"
#include "platform/headless/headless_face.h"
#include "platform/headless/headless_runtime.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

struct StartCase {
  const char* locale;
  const char16_t* caption;
  const char16_t* date_text;
  const char16_t* next_caption;
  const char16_t* clicked_text;  // after a click on cell 20, which shows 14 in November 2003
};

void StartsOnTodaysMonth(Report& report) {
  const StartCase cases[] = {
      {"en-US", u"November, 2003", u"11/9/2003", u"December, 2003", u"11/14/2003"},
      {"pt-BR", u"novembro, 2003", u"09/11/2003", u"dezembro, 2003", u"14/11/2003"},
      {"de-DE", u"November, 2003", u"9.11.2003", u"Dezember, 2003", u"14.11.2003"},
  };
  for (const StartCase& k : cases) {
    Case c(report, std::string("control: starts on 9 November 2003 under ") + k.locale);
    headless::HeadlessRuntime runtime(dates::RegionalSettings::ForLocale(k.locale));
    headless::RecordingContainer container;
    DATE today = 0;
    c.Status(dates::FromCivil({2003, 11, 9}, &today), S_OK, "FromCivil");
    runtime.clock().Set(today);
    std::unique_ptr<control::ctrJornavista> ctl;
    if (!c.Status(control::ctrJornavista::Create(runtime, container, &ctl), S_OK, "Create")) continue;
    auto& face = static_cast<headless::HeadlessFace&>(ctl->face());

    // 1 November 2003 is a Saturday: day d sits in cell 6 + d, cell 15 is today.
    for (std::int16_t i = 1; i <= 42; ++i) {
      const int day = i - 6;
      const Text want = day >= 1 && day <= 30 ? FromAscii(std::to_string(day)) : Text();
      c.Equal(face.cell(i).caption.view(), TextView(want), "cell " + std::to_string(i));
      const bool lit = face.cell(i).fore == kSysHighlightText && face.cell(i).back == kSysHighlight;
      c.Equal(lit, i == 15, "highlight of cell " + std::to_string(i));
    }
    c.Equal(face.year_text(), TextView(k.caption), "caption");
    c.Equal(face.date_text(), TextView(k.date_text), "selected date");
    c.Equal(ctl->state().m_SelDate, today, "m_SelDate");
    c.Expect(container.changed().empty(), "start-up notifies no property change");

    c.Status(face.ClickNext(), S_OK, "ClickNext");
    c.Equal(face.year_text(), TextView(k.next_caption), "caption after >>");
    c.Status(face.ClickPrevious(), S_OK, "ClickPrevious");
    c.Status(face.ClickCell(20), S_OK, "ClickCell(20)");
    Text sdate;
    c.Status(ctl->get_SDate(&sdate), S_OK, "get_SDate");
    c.Equal(sdate, TextView(k.clicked_text), "SDate after the click");
    c.Equal(container.changed(), std::vector<std::string>{"SDate"}, "change notices");
  }
}

}  // namespace

void ControlChecks(Report& report) { StartsOnTodaysMonth(report); }

}  // namespace jv::wincheck
