// ole_checks SCREENSHOT_FOLDER: run under Xvfb by scripts/windows-ole-tests.sh,
// after regsvr32, which answers its requests (tests/windows/driver.h).
#include <ole2.h>
#include <windows.h>

#include "tests/windows/ole_checks.h"

int wmain(int argc, wchar_t** argv) {
  using namespace jv::wincheck;
  return RunDriven("ole_checks", argc, argv, [](Report& report, Driver& driver) {
    PropertyPageValueChecks(report);
    QuickActivationChecks(report, driver);
    PropertyPageChecks(report, driver);
    RichEditChecks(report, driver);
  });
}
