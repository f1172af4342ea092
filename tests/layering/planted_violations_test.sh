#!/usr/bin/env bash
# Plants one layering violation at a time in a scratch copy of the tree (sources and
# CMake files only) and expects the check to report it, naming the place, with exit
# status 1. The untouched copy must pass first, so each report is the plant's own.
# Only a plant in a CMake file needs the check's configure of the copy; the others run
# the same check on the sources alone (--no-targets), which keeps the test quick.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
check=$repo/scripts/check-layers.sh

# file to append to | text appended | what the report must contain
cases=(
  'platform/automation/bstr.h|#include "platform/qt/qt_face.h"|platform/automation/bstr.h:[0-9]+: includes "platform/qt/qt_face.h"'
  'platform/runtime/face.h|#include "platform/headless/headless_face.h"|platform/runtime/face.h:[0-9]+: includes "platform/headless/headless_face.h"'
  'platform/automation/CMakeLists.txt|target_link_libraries(jv_automation PUBLIC jv_control)|platform/automation/CMakeLists.txt: target jv_automation links jv_control'
  'platform/runtime/face.h|namespace jv::control { class ctrJornavista; }|platform/runtime/face.h:[0-9]+: declares ctrJornavista, a type of control'
  'platform/face/face_base.h|class ctrJornavista;|platform/face/face_base.h:[0-9]+: declares ctrJornavista, a type of control'
  'platform/dates/calendar.cpp|#include <qwidget.h>|platform/dates/calendar.cpp:[0-9]+: includes Qt.s <qwidget.h>'
  'platform/dates/calendar.cpp|#include <QtWidgets>|platform/dates/calendar.cpp:[0-9]+: includes Qt.s <QtWidgets>'
  'platform/component/guid_text.cpp|#include <unicode/ucal.h>|platform/component/guid_text.cpp:[0-9]+: includes ICU.s <unicode/ucal.h>'
  'platform/face/CMakeLists.txt|target_link_libraries(jv_face PRIVATE PkgConfig::ICU)|platform/face/CMakeLists.txt: target jv_face links ICU'
  'platform/face/face_base.cpp|#include "qt_face.h"|platform/face/face_base.cpp:[0-9]+: includes "qt_face.h"'
  # The host reaches the control only through the component library.
  'apps/jornavista-host/main.cpp|#include "housing/property_record.h"|apps/jornavista-host/main.cpp:[0-9]+: includes "housing/property_record.h"; the host'
  'apps/jornavista-host/script.cpp|#include "control/ctr_jornavista.h"|apps/jornavista-host/script.cpp:[0-9]+: includes "control/ctr_jornavista.h"; the host'
  'apps/jornavista-host/CMakeLists.txt|target_link_libraries(jv_host_script PUBLIC jv_housing)|apps/jornavista-host/CMakeLists.txt: target jv_host_script links jv_housing; the host'
  'apps/document/CMakeLists.txt|target_link_libraries(jv_document PUBLIC jv_control)|apps/jornavista-host/CMakeLists.txt: target jv_host_script links jv_control through jv_document; the host'
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/pristine"
(cd "$repo" && tar -cf - CMakeLists.txt CMakePresets.json cmake platform control housing widgets apps) |
  tar -xf - -C "$scratch/pristine"

failures=0
if ! out=$("$check" "$scratch/pristine" 2>&1); then
  echo "FAIL: the untouched copy does not pass"
  echo "$out"
  exit 1
fi
for c in "${cases[@]}"; do
  IFS='|' read -r file text expected <<<"$c"
  rm -rf "$scratch/tree"
  cp -a "$scratch/pristine" "$scratch/tree"
  [ -f "$scratch/tree/$file" ] || { echo "FAIL: $file is not in the tree any more"; failures=$((failures + 1)); continue; }
  printf '%s\n' "$text" >>"$scratch/tree/$file"
  scope=--no-targets
  [[ $file == *CMakeLists.txt ]] && scope=
  status=0
  out=$("$check" $scope "$scratch/tree" 2>&1) || status=$?
  if [ $status -ne 1 ]; then
    echo "FAIL: '$text' in $file: exit status $status, expected 1"
    echo "$out"
    failures=$((failures + 1))
  elif ! grep -Eq "^$expected" <<<"$out"; then
    echo "FAIL: '$text' in $file: no report matching '$expected'"
    echo "$out"
    failures=$((failures + 1))
  fi
done
echo "${#cases[@]} planted violations, $failures not reported"
[ $failures -eq 0 ]
