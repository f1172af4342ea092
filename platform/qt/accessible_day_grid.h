// The face as assistive technologies meet it through Qt's accessibility: the
// control as one named group, Picture1 as a table of day cells under weekday
// column headers, each numbered cell named by its date and clickable through its
// default action, and the paging buttons named for what they do.
#pragma once

#include <QString>
#include <string_view>

#include "platform/face/face_roles.h"

namespace jv::qt {

// Makes Qt build the accessible interfaces of the face's widgets. Safe to call
// again: the factory is installed once per process.
void InstallAccessibleFactory();

// The accessible name of a constituent control whose caption does not say what it
// does ("<<" and ">>"); "" for the rest.
QString AccessibleNameOf(platform::Role role);
// The control as a whole.
QString ControlAccessibleName();

}  // namespace jv::qt
