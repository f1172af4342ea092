// ole_checks SCREENSHOT_FOLDER: run under Xvfb by scripts/windows-ole-tests.sh,
// after regsvr32, which answers its requests (tests/windows/driver.h).
#include <ole2.h>
#include <windows.h>

#include "tests/windows/ole_checks.h"

int wmain(int argc, wchar_t** argv) {
  using namespace jv::wincheck;
  if (argc != 2) {
    std::fprintf(stderr, "usage: ole_checks SCREENSHOT_FOLDER\n");
    return 2;
  }
  OleInitialize(nullptr);
  Driver driver(U8(argv[1]));
  Report report("ole_checks");
  PropertyPageValueChecks(report);
  QuickActivationChecks(report, driver);
  PropertyPageChecks(report, driver);
  RichEditChecks(report, driver);
  report.Close();
  std::fflush(stdout);
  // The reader thread still waits on standard input; end without joining it.
  ExitProcess(report.failed() == 0 ? 0 : 1);
}
