// The Windows checks: the parts of the platform that the Windows build takes from
// the system (dates, regional settings, automation types) against the system's own
// answers, and the control starting on the headless runtime.
#include "tests/windows/check.h"

int main() {
  jv::wincheck::Report report;
  jv::wincheck::DateChecks(report);
  jv::wincheck::RegionalSettingsChecks(report);
  jv::wincheck::VariantChecks(report);
  jv::wincheck::ControlChecks(report);
  report.Close();
  return report.failed() == 0 ? 0 : 1;
}
