#!/usr/bin/env python3
"""Checks that the tree's dependencies point down the layers.

Three kinds of dependency are read:

  * every #include (any spelling: quoted, angled, relative, with comments between);
  * every declaration of a type or namespace that belongs to a layer the file may not use;
  * every CMake target link, read from a configure of the tree in a scratch folder
    (the CMake file API gives each target's folder, --graphviz the direct links).

The layers, each allowed to use what its entry lists (its own folder always):

  apps/       everything of the product
  widgets/    housing/, control/, platform/
  housing/    control/, platform/
  control/    platform/automation/, platform/runtime/ and the standard library only
  platform/   inside it, bottom up:
    automation/                       nothing else
    runtime/                          automation/
    dates/, face/, component/         automation/, runtime/
    headless/, qt/, win32/            automation/, runtime/, dates/, face/ (never each other)

Qt (headers in any spelling, or linked) appears only in platform/qt/, widgets/qt/ and
apps/; ICU only in platform/dates/. Nothing shipped uses tests/ or bench/.

The host program (apps/jornavista-host/) reaches the control only through the
component library, which it loads: of housing/ and control/ it includes only the
headers the library publishes for its clients (HOST_SHARED), and none of its targets
links a target of housing/ or control/, directly or through another library.

Usage: check_layers.py [--no-targets] [ROOT]   (ROOT defaults to the repository)
Prints each offence as PLACE: reason and exits 1 if there is any; 2 if it cannot check.
"""
import glob
import json
import os
import re
import subprocess
import sys
import tempfile

PLATFORM_BASE = {"platform/automation", "platform/runtime"}
PLATFORM_WINDOWING = PLATFORM_BASE | {"platform/dates", "platform/face"}
PLATFORM_ALLOWED = {
    "platform/automation": {"platform/automation"},
    "platform/runtime": PLATFORM_BASE,
    "platform/dates": PLATFORM_BASE | {"platform/dates"},
    "platform/face": PLATFORM_BASE | {"platform/face"},
    "platform/component": PLATFORM_BASE | {"platform/component"},
    "platform/headless": PLATFORM_WINDOWING | {"platform/headless"},
    "platform/qt": PLATFORM_WINDOWING | {"platform/qt"},
    "platform/win32": PLATFORM_WINDOWING | {"platform/win32"},
}
ALL_PLATFORM = set(PLATFORM_ALLOWED)
ALLOWED = dict(PLATFORM_ALLOWED)
ALLOWED["control"] = {"control"} | PLATFORM_BASE
ALLOWED["housing"] = {"housing", "control"} | ALL_PLATFORM
ALLOWED["widgets"] = {"widgets", "housing", "control"} | ALL_PLATFORM
ALLOWED["apps"] = {"apps", "widgets", "housing", "control"} | ALL_PLATFORM

LAYERED = ("platform", "control", "housing", "widgets", "apps")
PROJECT_DIRS = set(LAYERED) | {"tests", "bench", "examples"}
QT_PLACES = ("platform/qt/", "widgets/qt/", "apps/")
ICU_PLACES = ("platform/dates/",)
HOST_PLACE = "apps/jornavista-host/"
# What the component library publishes for its clients: the ids, the member table
# (header only) and the diagnostic interface IControlState.
HOST_SHARED = {"housing/jornavista_ids.h", "housing/jornavista_members.h", "housing/control_state.h"}
BEHIND_THE_LIBRARY = ("housing", "control")
# The component library's target: the host is built after it (add_dependencies, which
# the graph shows as a link) to load it at run time, and never links what it holds.
COMPONENT_LIBRARY = "jornavista_ocx"
SOURCE_SUFFIXES = (".h", ".hh", ".hpp", ".hxx", ".inl", ".ipp", ".c", ".cc", ".cpp", ".cxx")


def area_of(path):
    """The layer a root-relative path belongs to; None outside the product's layers."""
    parts = path.split("/")
    if parts[0] == "platform":
        return "platform/" + parts[1] if len(parts) > 2 else "platform"
    if parts[0] in PROJECT_DIRS and len(parts) > 1:
        return parts[0]
    return None


def may_use(area, target_area):
    return target_area is None or target_area == area or target_area in ALLOWED.get(area, ())


def is_qt(name):
    """A Qt header in any spelling: <QWidget>, <QtWidgets/QWidget>, <qt6/...>, <qwidget.h>."""
    parts = name.split("/")
    base = parts[-1]
    if re.fullmatch(r"(?i)qt\d*|qt[a-z]+", parts[0]) and (len(parts) > 1 or parts[0][:2] == "Qt"):
        return True
    if re.fullmatch(r"Q[A-Z]\w*", base):
        return True
    return bool(re.fullmatch(r"q\w+\.h", base.lower())) and base.lower() != "quadmath.h"


def is_icu(name):
    first = name.split("/")[0].lower()
    return first in ("unicode", "icu", "layout") or first.startswith("icu")


LEXEME = re.compile(r'//[^\n]*|/\*.*?(?:\*/|\Z)|"(?:\\.|[^"\\\n])*"|(?<![\w])\'(?:\\.|[^\'\\\n])*\'', re.S)


def strip_comments(text, keep_strings):
    """The text with comments (and, unless keep_strings, literals) blanked, lines kept."""
    def blank(m):
        lexeme = m.group(0)
        if lexeme[0] in "\"'" and keep_strings:
            return lexeme
        inner = re.sub(r"[^\n]", " ", lexeme)
        return lexeme[0] + inner[1:-1] + lexeme[-1] if lexeme[0] in "\"'" else inner
    return LEXEME.sub(blank, text)


def line_of(text, offset):
    return text.count("\n", 0, offset) + 1


INCLUDE = re.compile(r"^[ \t]*#[ \t]*(?:include|include_next|import)\b[ \t]*(.*)$", re.M)
HAS_INCLUDE = re.compile(r"__has_include(?:_next)?\s*\(\s*([<\"][^>\"]*[>\"])")
TYPE_KEY = r"\b(?:class|struct|union|enum(?:\s+class|\s+struct)?)\s+(?:\[\[[^\]]*\]\]\s*)?"
# In order of the text: a namespace opened, a type defined (its body's brace, or
# the colon of its bases), a type declared ahead, and every other brace.
SCOPE = re.compile(r"\bnamespace\s+(?P<namespace>[A-Za-z_][\w:]*)\s*\{"
                   rf"|{TYPE_KEY}(?P<defined>[A-Za-z_]\w*)\s*(?:final\s*)?(?:\{{|:(?!:))"
                   rf"|{TYPE_KEY}(?P<ahead>[A-Za-z_]\w*)\s*;"
                   r"|[{}]")


class Checker:
    def __init__(self, root):
        self.root = root
        self.offences = []
        self.by_name = {}  # project files by their base name

    def offend(self, place, reason):
        self.offences.append(f"{place}: {reason}")

    def sources(self):
        found = []
        for top in LAYERED + ("tests", "bench", "examples"):
            for folder, dirs, files in os.walk(os.path.join(self.root, top)):
                dirs[:] = sorted(d for d in dirs if d != "build")
                for f in sorted(files):
                    if f.endswith(SOURCE_SUFFIXES):
                        found.append(os.path.relpath(os.path.join(folder, f), self.root).replace(os.sep, "/"))
        return found

    def resolve(self, file, spelled):
        """The root-relative project path an include names, or None for an outside header."""
        quoted, name = spelled[0] == '"', spelled[1:-1].strip()
        here = os.path.dirname(file)
        beside = os.path.normpath(os.path.join(here, name)).replace(os.sep, "/")
        if quoted and os.path.isfile(os.path.join(self.root, beside)):
            return beside
        if quoted and "/" not in name:
            # Not beside the file: an include folder a target added finds it, so it
            # is whichever project header of that name is allowed, else the first.
            elsewhere = self.by_name.get(name, [])
            if elsewhere:
                area = area_of(file)
                return next((f for f in elsewhere if may_use(area, area_of(f))), elsewhere[0])
            return None if is_qt(name) or is_icu(name) else beside
        if quoted and name.startswith(("./", "../")):
            return beside
        flat = os.path.normpath(name).replace(os.sep, "/")
        if flat.split("/")[0] in PROJECT_DIRS or (quoted and os.path.isfile(os.path.join(self.root, flat))):
            return flat
        return None

    def check_include(self, file, area, line, spelled):
        target = self.resolve(file, spelled)
        if target is not None:
            if target.startswith("../") or not may_use(area, area_of(target)) or target.split("/")[0] in (
                    "tests", "bench", "examples"):
                self.offend(f"{file}:{line}", f"includes {spelled} from a layer above or beside it")
            elif (file.startswith(HOST_PLACE) and target.split("/")[0] in BEHIND_THE_LIBRARY
                  and target not in HOST_SHARED):
                self.offend(f"{file}:{line}", f"includes {spelled}; the host reaches the control only through "
                            "the component library")
            return
        name = spelled[1:-1].strip()
        if is_qt(name) and not file.startswith(QT_PLACES):
            self.offend(f"{file}:{line}", f"includes Qt's {spelled} outside the Qt runtime, the Qt widgets and the apps")
        elif is_icu(name) and not file.startswith(ICU_PLACES):
            self.offend(f"{file}:{line}", f"includes ICU's {spelled} outside platform/dates")
        elif area == "control" and not re.fullmatch(r"[a-z_]+", name):
            self.offend(f"{file}:{line}", f"includes {spelled}; the control uses only the standard library")

    def scan_includes(self, file, area, text):
        code = strip_comments(text.replace("\\\n", "  "), keep_strings=True)
        for m in INCLUDE.finditer(code):
            line = line_of(code, m.start())
            arg = m.group(1).strip()
            spelled = re.match(r'"[^"]*"|<[^>]*>', arg)
            if spelled is None:
                self.offend(f"{file}:{line}", f"#include of a computed name ({arg}) cannot be checked")
                continue
            self.check_include(file, area, line, spelled.group(0))
        for m in HAS_INCLUDE.finditer(code):
            self.check_include(file, area, line_of(code, m.start()), m.group(1))

    @staticmethod
    def declarations(text):
        """Namespaces opened, types defined and types declared ahead at namespace scope,
        each with its qualified name and line."""
        code = strip_comments(text, keep_strings=False)
        opened, defined, ahead, stack, depth = [], set(), [], [], 0
        for m in SCOPE.finditer(code):
            namespace = "::".join(name for name, _ in stack)
            qualified = lambda name: f"{namespace}::{name}" if namespace else name  # noqa: E731
            if m.group("namespace"):
                stack.append((m.group("namespace"), depth))
                depth += 1
                opened.append(("::".join(name for name, _ in stack), line_of(code, m.start())))
            elif m.group("defined"):
                defined.add(qualified(m.group("defined")))
                depth += 1 if m.group(0).endswith("{") else 0
            elif m.group("ahead"):
                at_namespace_scope = depth == (stack[-1][1] + 1 if stack else 0)
                if at_namespace_scope:
                    ahead.append((qualified(m.group("ahead")), line_of(code, m.start())))
            elif m.group(0) == "{":
                depth += 1
            elif m.group(0) == "}":
                depth -= 1
                while stack and stack[-1][1] >= depth:
                    stack.pop()
        return opened, defined, ahead

    def scan_declarations(self, files):
        namespace_owners, type_owners, per_file = {}, {}, {}
        for file, area, text in files:
            opened, defined, ahead = self.declarations(text)
            per_file[file] = (area, opened, ahead)
            for name, _ in opened:
                namespace_owners.setdefault(name, {}).setdefault(area, set()).add(file)
            for name in defined:
                type_owners.setdefault(name, set()).add(area)
                # Unqualified too, for a declaration outside the type's namespace; only
                # the product's layers count there, tests name their helpers freely.
                if area in ALLOWED:
                    type_owners.setdefault("::" + name.split("::")[-1], set()).add(area)
        for file, (area, opened, ahead) in per_file.items():
            if area not in ALLOWED:
                continue
            for name, line in opened:
                owners = {a for a, fs in namespace_owners[name].items() if fs - {file}}
                if owners and not any(may_use(area, a) for a in owners):
                    self.offend(f"{file}:{line}", f"declares into namespace {name}, which belongs to "
                                f"{', '.join(sorted(o or '?' for o in owners))}")
            for name, line in ahead:
                short = name.split("::")[-1]
                owners = type_owners.get(name) or type_owners.get("::" + short, set())
                if owners and not any(may_use(area, a) for a in owners):
                    self.offend(f"{file}:{line}", f"declares {short}, a type of "
                                f"{', '.join(sorted(o or '?' for o in owners))}")
                elif re.fullmatch(r"Q[A-Z]\w*", short) and not file.startswith(QT_PLACES):
                    self.offend(f"{file}:{line}", f"declares Qt's {short} outside the Qt runtime, widgets and apps")

    def check_sources(self):
        files = []
        self.by_name = {}
        for file in self.sources():
            self.by_name.setdefault(os.path.basename(file), []).append(file)
        for file in self.sources():
            area = area_of(file)
            with open(os.path.join(self.root, file), encoding="utf-8", errors="replace") as f:
                text = f.read()
            files.append((file, area, text))
            if area == "platform" or (file.startswith("platform/") and area not in ALLOWED):
                self.offend(f"{file}:1", f"{os.path.dirname(file)}/ is no platform layer the check knows")
            elif area in ALLOWED:
                self.scan_includes(file, area, text)
        self.scan_declarations(files)

    def check_targets(self):
        """Direct target links from a configure of the tree in a scratch folder."""
        with tempfile.TemporaryDirectory(prefix="check-layers-") as build:
            query = os.path.join(build, ".cmake", "api", "v1", "query")
            os.makedirs(query)
            open(os.path.join(query, "codemodel-v2"), "w").close()
            with open(os.path.join(build, "CMakeGraphVizOptions.cmake"), "w") as f:
                f.write("set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)\nset(GRAPHVIZ_GENERATE_DEPENDERS FALSE)\n")
            dot = os.path.join(build, "targets.dot")
            run = subprocess.run(["cmake", "-S", self.root, "-B", build, "-DJV_BUILD_TESTS=OFF",
                                  "-DJV_BUILD_BENCH=OFF", f"--graphviz={dot}"],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            if run.returncode != 0 or not os.path.isfile(dot):
                sys.stderr.write(run.stdout[-3000:])
                raise RuntimeError("cmake could not configure the tree to read its target links")
            reply = os.path.join(build, ".cmake", "api", "v1", "reply")
            with open(glob.glob(os.path.join(reply, "index-*.json"))[0]) as f:
                index = json.load(f)
            with open(os.path.join(reply, index["reply"]["codemodel-v2"]["jsonFile"])) as f:
                model = json.load(f)
            folders = {}
            for t in model["configurations"][0]["targets"]:
                with open(os.path.join(reply, t["jsonFile"])) as f:
                    folders[t["name"]] = json.load(f)["paths"]["source"]
            with open(dot) as f:
                links = re.findall(r'^\s*"node\d+" -> "node\d+".*// (.+?) -> (.+?)\s*$', f.read(), re.M)
        self.check_host_links(folders, links)
        for user, used in sorted(set(links)):
            if user not in folders:
                continue
            folder = folders[user]
            area = area_of(folder + "/CMakeLists.txt")
            if area not in ALLOWED:
                continue
            place = f"{folder}/CMakeLists.txt"
            if used in folders:
                used_area = area_of(folders[used] + "/CMakeLists.txt")
                if not may_use(area, used_area) or folders[used].split("/")[0] in ("tests", "bench", "examples"):
                    self.offend(place, f"target {user} links {used} ({folders[used]}/), a layer above or beside it")
            elif re.search(r"(^|[/:])(lib)?Qt\d*(::|[A-Z]|$)", used) and not (folder + "/").startswith(QT_PLACES):
                self.offend(place, f"target {user} links Qt ({used}) outside the Qt runtime, widgets and apps")
            elif re.search(r"icu", used, re.I) and not (folder + "/").startswith(ICU_PLACES):
                self.offend(place, f"target {user} links ICU ({used}) outside platform/dates")

    def check_host_links(self, folders, links):
        """No target of the host program links the control or the housing, directly
        or through the libraries it links."""
        linked = {}
        for user, used in links:
            linked.setdefault(user, set()).add(used)
        for user in sorted(t for t, folder in folders.items() if (folder + "/").startswith(HOST_PLACE)):
            route, seen = {used: [] for used in linked.get(user, ())}, set()
            pending = sorted(route)
            while pending:
                used = pending.pop(0)
                if used in seen or used not in folders or used == COMPONENT_LIBRARY:
                    continue
                seen.add(used)
                if folders[used].split("/")[0] in BEHIND_THE_LIBRARY:
                    through = f" through {' and '.join(route[used])}" if route[used] else ""
                    self.offend(f"{folders[user]}/CMakeLists.txt", f"target {user} links {used}{through}; the host "
                                "reaches the control only through the component library")
                    continue
                for further in sorted(linked.get(used, ())):
                    if further not in route:
                        route[further] = route[used] + [used]
                        pending.append(further)


def main(argv):
    targets = "--no-targets" not in argv
    args = [a for a in argv if a != "--no-targets"]
    root = os.path.abspath(args[0] if args else os.path.join(os.path.dirname(__file__), ".."))
    checker = Checker(root)
    checker.check_sources()
    if targets and os.path.isfile(os.path.join(root, "CMakeLists.txt")):
        try:
            checker.check_targets()
        except (RuntimeError, OSError, KeyError, IndexError, ValueError) as e:
            print(f"check-layers: {e}")
            return 2
    for offence in checker.offences:
        print(offence)
    if checker.offences:
        count = len(checker.offences)
        print(f"check-layers: {count} dependenc{'y points' if count == 1 else 'ies point'} the wrong way")
        return 1
    print("check-layers: every include, declaration and target link points down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
