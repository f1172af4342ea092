// The checks of ole_checks.exe: Jornavista.ocx in the containers that start other
// conversations with it than ATL's: a quick-activating form of our own, the system's
// property frame and our page in a window of our own, and Wine's RichEdit document.
#pragma once

#include "tests/windows/check.h"
#include "tests/windows/driver.h"

namespace jv::wincheck {

void QuickActivationChecks(Report& report, Driver& driver);
void PropertyPageChecks(Report& report, Driver& driver);
void RichEditChecks(Report& report, Driver& driver);
void PropertyPageValueChecks(Report& report);

}  // namespace jv::wincheck
