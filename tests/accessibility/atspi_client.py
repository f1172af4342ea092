#!/usr/bin/python3
"""The calendar as a screen reader meets it: an AT-SPI client in a process of its
own drives `jornavista-host show` and checks roles, names, states, the day
cell's default action and the paging button, in English and in Portuguese.

Run it inside an X server and a D-Bus session (scripts/accessibility-test.sh):
    atspi_client.py HOST
Prints the accessibility tree of November 2003 for each language, one line a
check, and last "N passed, M failed"; exits 1 when any check failed.
"""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

LANGUAGES = {
    "en_US.UTF-8": {
        "weekdays": ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"],
        "november": "November, 2003",
        "december": "December, 2003",
        "nov9": "November 9, 2003",
        "nov14": "November 14, 2003",
        "dec1": "December 1, 2003",
        "sdate14": "SDate: 11/14/2003",
    },
    "pt_BR.UTF-8": {
        "weekdays": ["domingo", "segunda-feira", "terça-feira", "quarta-feira", "quinta-feira", "sexta-feira",
                     "sábado"],
        "november": "novembro, 2003",
        "december": "dezembro, 2003",
        "nov9": "9 de novembro de 2003",
        "nov14": "14 de novembro de 2003",
        "dec1": "1 de dezembro de 2003",
        "sdate14": "SDate: 14/11/2003",
    },
}

# Where November 2003 puts its days: 1 November is a Saturday, so day d is in
# cell d + 6, and cell i sits at row (i - 1) // 7, column (i - 1) % 7.
NOV9_CELL = (2, 0)
NOV14_CELL = (2, 5)
BLANK_CELL = (0, 0)
DEC1_CELL = (0, 1)

TIMEOUT = 15.0


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
            print(f"ok: {what}")
        else:
            self.failed += 1
            print(f"FAIL: {what}: got {actual!r}, expected {expected!r}")


def pump(seconds=0.0):
    """Lets the AT-SPI library deliver what arrived (events, cache updates)."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(predicate, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump()
        try:
            value = predicate()
        except GLib.Error:
            value = None
        if value:
            return value
        time.sleep(0.05)
    return None


def children(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child


def states(node):
    state_set = node.get_state_set()
    return sorted(s.value_nick for s in state_set.get_states()) if state_set else []


def walk(node, depth=0):
    yield depth, node
    for child in children(node):
        yield from walk(child, depth + 1)


def find(root, role, name=None):
    for _, node in walk(root):
        if node.get_role_name() == role and (name is None or node.get_name() == name):
            return node
    return None


def application_of(pid):
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if app.get_process_id() == pid:
            return app
    return None


def print_tree(root):
    for depth, node in walk(root):
        line = "  " * depth + f"{node.get_role_name()} \"{node.get_name()}\""
        description = node.get_description()
        if description:
            line += f" ({description})"
        print(line + " [" + ",".join(states(node)) + "]")


def launch(host, env):
    """Starts the host and waits for it on the bus. A host that ends first (an X
    server that was not ready yet) is started again, twice at most."""
    for _ in range(3):
        process = subprocess.Popen([host, "show", "--today", "2003-11-09"], env=env, stdout=subprocess.DEVNULL)
        app = wait_for(lambda: application_of(process.pid) or process.poll() is not None)
        if app is not True and app is not None:
            return process, app
        if process.poll() is None:
            return process, None
        time.sleep(0.5)
    return process, None


def query(call, *args):
    """A table query as a client makes it; None when the host answers with an error."""
    try:
        return call(*args)
    except GLib.Error:
        return None


def check_indexes(grid, cell, process, checks):
    """The table's child indexes are its cells in reading order, the same index
    every table query takes and gives; no query, in range or not, ends the host."""
    rows, columns = 6, 7
    positions = [(r, c) for r in range(rows) for c in range(columns)]
    checks.expect("the table's children are its cells", grid.get_child_count(), rows * columns)
    checks.expect("a cell's index in the table is row * 7 + column",
                  [cell(p).get_index_in_parent() for p in positions], list(range(rows * columns)))
    checks.expect("the index at a row and column is row * 7 + column",
                  [query(grid.get_index_at, r, c) for r, c in positions], list(range(rows * columns)))
    extents = [query(grid.get_row_column_extents_at_index, i) for i in range(rows * columns)]
    checks.expect("every valid index has the extents of its cell",
                  [tuple(e[:5]) if e else None for e in extents],
                  [(True, r, c, 1, 1) for r, c in positions])
    checks.expect("every valid index is in its cell's row and column",
                  [(query(grid.get_row_at_index, i), query(grid.get_column_at_index, i))
                   for i in range(rows * columns)], positions)
    # Past the last cell and before the first: each answer may be an error, none
    # a cell of the grid, and the host lives on.
    outside = [-1, rows * columns, rows * columns + 6, 1000]
    claimed = []
    for i in outside:
        e = query(grid.get_row_column_extents_at_index, i)
        if e and e[0] and 0 <= e[1] < rows and 0 <= e[2] < columns:
            claimed.append(i)
        for call in (grid.get_row_at_index, grid.get_column_at_index):
            if query(call, i) not in (None, -1):
                claimed.append(i)
    for r, c in [(rows, 0), (-1, 0), (0, columns), (rows, columns)]:
        for call in (grid.get_row_extent_at, grid.get_column_extent_at, grid.get_index_at):
            query(call, r, c)
        if query(grid.get_accessible_at, r, c) is not None:
            claimed.append((r, c))
    checks.expect("no index outside the grid is taken for a cell", claimed, [])
    checks.expect("the host survives every table query",
                  process.poll() is None and query(grid.get_index_at, rows - 1, columns - 1) == rows * columns - 1,
                  True)


def run_language(host, language, expected, checks):
    print(f"=== {language}")
    env = dict(os.environ, LANG=language, LC_ALL="", LC_TIME="", QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process, app = launch(host, env)
    try:
        checks.expect("the host appears on the accessibility bus", app is not None, True)
        if app is None:
            return
        checks.expect("the application is named for the program, not its subcommand", app.get_name(),
                      os.path.basename(host))
        table = wait_for(lambda: find(app, "table"))
        checks.expect("the day grid is a table", table is not None, True)
        if table is None:
            return
        print_tree(app)

        selected_events = []
        focus_events = []
        listener_selected = Atspi.EventListener.new(lambda e: selected_events.append(e.source.get_name()))
        listener_selected.register("object:state-changed:selected")
        listener_focus = Atspi.EventListener.new(
            lambda e: e.detail1 and focus_events.append(e.source.get_name()))
        listener_focus.register("object:state-changed:focused")

        calendar = find(app, "panel", "Jornavista")
        checks.expect("the control is a group named Jornavista", calendar is not None, True)
        if calendar is not None:
            checks.expect("its description is the month", calendar.get_description(), expected["november"])
        checks.expect("the table is named by the month", table.get_name(), expected["november"])
        grid = table  # the table interface, as AT-SPI objects implement theirs
        checks.expect("six rows", grid.get_n_rows(), 6)
        checks.expect("seven columns", grid.get_n_columns(), 7)
        checks.expect("column headers are the full weekday names",
                      [grid.get_column_header(c).get_name() for c in range(7)], expected["weekdays"])
        checks.expect("column descriptions are the weekday names",
                      [grid.get_column_description(c) for c in range(7)], expected["weekdays"])

        def cell(position):
            return grid.get_accessible_at(*position)

        checks.expect("a blank cell has no name", cell(BLANK_CELL).get_name(), "")
        checks.expect("a blank cell has no action", cell(BLANK_CELL).get_n_actions(), 0)
        checks.expect("a day is named by its whole date", cell(NOV14_CELL).get_name(), expected["nov14"])
        checks.expect("a day cell's role", cell(NOV14_CELL).get_role_name(), "table cell")
        checks.expect("today's day is selected", "selected" in states(cell(NOV9_CELL)), True)
        checks.expect("another day is not", "selected" in states(cell(NOV14_CELL)), False)
        checks.expect("day 9 is named", cell(NOV9_CELL).get_name(), expected["nov9"])
        checks.expect("one cell is selected", grid.get_n_selected_rows() >= 0 and sum(
            "selected" in states(grid.get_accessible_at(r, c)) for r in range(6) for c in range(7)), 1)

        check_indexes(grid, cell, process, checks)
        if process.poll() is not None:
            return

        previous = find(app, "push button", "Previous month")
        next_month = find(app, "push button", "Next month")
        checks.expect("cmdPrevious is named Previous month", previous is not None, True)
        checks.expect("cmdNext is named Next month", next_month is not None, True)
        texts = [node for _, node in walk(app) if node.get_role_name() == "text" and "showing" in states(node)]
        caption = [t for t in texts if t.get_text(0, -1) == expected["november"]]
        checks.expect("txtYear is read-only text showing the month", len(caption) == 1 and "read-only" in states(
            caption[0]), True)

        # The day click through the cell's default action, with all its effects.
        checks.expect("a day cell has one action", cell(NOV14_CELL).get_n_actions(), 1)
        cell(NOV14_CELL).do_action(0)
        sdate = wait_for(lambda: find(app, "label", expected["sdate14"]))
        checks.expect("the action sets SDate", sdate is not None, True)
        checks.expect("the clicked day is selected",
                      wait_for(lambda: "selected" in states(cell(NOV14_CELL))), True)
        checks.expect("today's day no longer is", "selected" in states(cell(NOV9_CELL)), False)
        checks.expect("the clicked day has the focus", wait_for(lambda: "focused" in states(cell(NOV14_CELL))),
                      True)
        checks.expect("its selection was announced",
                      wait_for(lambda: expected["nov14"] in selected_events, 3.0) is not None, True)
        checks.expect("its focus was announced",
                      wait_for(lambda: expected["nov14"] in focus_events, 3.0) is not None, True)

        # The next month through the button's action: the table and its cells follow.
        next_month.do_action(0)
        checks.expect("the table is renamed to the next month",
                      wait_for(lambda: table.get_name() == expected["december"]), True)
        checks.expect("its cells name the next month's days", cell(DEC1_CELL).get_name(), expected["dec1"])
        checks.expect("the description follows", calendar.get_description() if calendar else None,
                      expected["december"])
        listener_selected.deregister("object:state-changed:selected")
        listener_focus.deregister("object:state-changed:focused")
    finally:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    host = sys.argv[1]
    checks = Checks()
    started = time.monotonic()
    for language, expected in LANGUAGES.items():
        run_language(host, language, expected, checks)
    print(f"AT-SPI run: {time.monotonic() - started:.1f} s")
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
