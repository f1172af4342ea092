#!/usr/bin/env bash
# The layering check against a table of includes: each case is one file in a scratch
# tree, and whether the check must refuse it. Then the real tree must pass, its CMake
# target links included.
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh
repo=$(cd "$(dirname "$0")/../.." && pwd)

# file | include line | expected (ok or refused)
cases=(
  'platform/qt/a.cpp|#include "control/ctr_jornavista.h"|refused'
  'platform/headless/a.cpp|#include "housing/jornavista_object.h"|refused'
  'platform/runtime/a.h|#include "widgets/qt/jornavista_widget.h"|refused'
  'platform/component/a.cpp|#include "apps/document/document_file.h"|refused'
  'platform/dates/a.cpp|#include "platform/automation/types.h"|ok'
  'control/a.cpp|#include "platform/runtime/face.h"|ok'
  'control/a.cpp|#include "platform/automation/bstr.h"|ok'
  'control/a.cpp|#include "platform/dates/calendar.h"|refused'
  'control/a.cpp|#include "platform/headless/headless_face.h"|refused'
  'control/a.cpp|#include "housing/jornavista_ids.h"|refused'
  'control/core/a.cpp|#include <memory>|ok'
  'control/core/a.cpp|#include <QString>|refused'
  'control/a.cpp|#include <unicode/udat.h>|refused'
  'control/a.cpp|#include <windows.h>|refused'
  'housing/a.cpp|#include "control/ctr_jornavista.h"|ok'
  'housing/a.cpp|#include "apps/jornavista-host/script.h"|refused'
  'housing/a.cpp|#include "widgets/qt/jornavista_widget.h"|refused'
  'housing/a.cpp|#include <QWidget>|refused'
  'widgets/qt/a.cpp|#include "apps/jornavista-host/window.h"|refused'
  'widgets/qt/a.cpp|#include <QWidget>|ok'
  'apps/x/a.cpp|#include "widgets/qt/jornavista_widget.h"|ok'
  'apps/x/a.cpp|#include "tests/housing/test_support.h"|refused'
  'platform/qt/a.cpp|#include <QtWidgets/QWidget>|ok'
  'platform/component/a.cpp|#include <QtCore/QString>|refused'
  'control/a.cpp|#  include "housing/x.h"|refused'
  'platform/automation/a.h|#include "platform/runtime/face.h"|refused'
  'platform/runtime/a.h|#include "platform/automation/types.h"|ok'
  'platform/face/a.h|#include "platform/dates/calendar.h"|refused'
  'platform/headless/a.cpp|#include "platform/qt/qt_face.h"|refused'
  'platform/qt/a.cpp|#include "platform/dates/calendar.h"|ok'
  'platform/component/a.cpp|#include "platform/face/face_base.h"|refused'
  'platform/runtime/a.h|#include "../headless/headless_face.h"|refused'
  'platform/runtime/a.h|#include <platform/headless/headless_face.h>|refused'
  'platform/runtime/a.h|#include /* a note */ "platform/qt/qt_face.h"|refused'
  'platform/runtime/a.h|// #include "platform/qt/qt_face.h"|ok'
  'platform/runtime/a.h|#include RUNTIME_HEADER|refused'
  'platform/dates/a.cpp|#include <qwidget.h>|refused'
  'platform/dates/a.cpp|#include <qt6/QtWidgets/QWidget>|refused'
  'platform/dates/a.cpp|#include "qstring.h"|refused'
  'platform/dates/a.cpp|#if __has_include(<QString>)|refused'
  'platform/automation/a.h|#include <queue>|ok'
  'platform/automation/a.h|#include <quadmath.h>|ok'
  'platform/dates/a.cpp|#include <unicode/udat.h>|ok'
  'housing/a.cpp|#include <unicode/udat.h>|refused'
  'apps/x/a.cpp|#include <unicode/ucal.h>|refused'
  'platform/runtime/a.h|class QWidget;|refused'
  'widgets/qt/a.h|class QWidget;|ok'
)

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
for c in "${cases[@]}"; do
  IFS='|' read -r file line expected <<<"$c"
  rm -rf "${scratch:?}"/*
  mkdir -p "$scratch/$(dirname "$file")"
  printf '// a case\n%s\n' "$line" >"$scratch/$file"
  if out=$("$check" "$scratch" 2>&1); then got=ok; else got=refused; fi
  if [ "$got" != "$expected" ]; then
    echo "FAIL: $file with '$line': expected $expected, got $got"
    echo "$out"
    failures=$((failures + 1))
  elif [ "$got" = refused ] && ! grep -q "^$file:2: " <<<"$out"; then
    echo "FAIL: $file with '$line': the refusal does not name $file:2"
    echo "$out"
    failures=$((failures + 1))
  fi
done

if ! "$check" "$repo"; then
  echo "FAIL: the repository itself has includes that point the wrong way"
  failures=$((failures + 1))
fi
echo "${#cases[@]} cases, $failures failed"
[ $failures -eq 0 ]
