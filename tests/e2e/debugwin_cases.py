#!/usr/bin/env python3
"""Debug child windows with live values: TAVIR.EXE on the example application (or on debug window
files of a case's own) against tavir-sim. What a window should show and request is worked out
here from its file, independently of the program's loader."""

import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

from harness import E2EFailure, check, cp1252, run, wait_for
from menu_cases import escape, wait_dialog
from startup_cases import LINK_CAPTION, MAIN_CLASS, ValueStream, remove_debug_windows, wine_path

FIXTURES = Path(__file__).parents[1] / "fixtures"
CHILD, EDIT, CHECKBOX = "TVRCHILDCLASS", "TVREDITITEMCLASS", "TVRCHECKBOXITEMCLASS"
LABEL_BASE = 500
QUESTION = "De huidige wijziging is niet opgeslagen.\nWilt u deze wijziging alsnog opslaan?"
NO_CONNECTION = "systeem melding : Er is geen verbinding aanwezig."
SW_MINIMIZE, SW_RESTORE, WS_MINIMIZE = 6, 9, 0x20000000
# The reply check comes 500 ms after the display start, which comes 500 ms after a window became
# current; a wait of this length after a start lets every late request of it arrive.
PROTOCOL_SETTLE = 1.2

# Categories (code / 32) whose requests carry a signal group, those that carry a block, and those
# shown as a number rather than a check box.
WITH_GROUP = {0, 1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14}
WITH_BLOCK = {4, 5, 6, 7, 11, 12}
VALUE_CATEGORIES = {1, 10, 12, 14, 15}


def application_names(app):
    """The names a window file may use and their numbers: the built-in names (the golden list of the
    macro reader's unit test: the category's base plus the name's number in the built-in text),
    then the application's defines. The first of a name counts."""
    builtin = (FIXTURES / "definitions" / "builtin_macros.txt").read_text()
    header = (Path(app) / "KVAPDEF.H").read_text("cp1252")
    names = {}
    for name, number in re.findall(r"(\w+) (\d+)", builtin) + re.findall(r"#define\s+(\w+)\s+(\d+)", header):
        names.setdefault(name, int(number))
    return names


class WindowFile:
    """What a debug window file should become: its items in screen order (the position is the
    control id) with the address their requests carry in tavir-sim's log, its labels, its grid."""

    def __init__(self, path, names):
        lines = Path(path).read_bytes().decode("cp1252").split("\n")
        self.path, self.items, self.labels = Path(path), [], []
        columns = rows = 0
        for row, line in enumerate(lines[:24]):
            for m in re.finditer(r"(~+)\d\d|[^\s~]+", line):
                tildes = len(m.group(1) or "")
                if tildes:
                    self.items.append({"number": int(m.group(0)[-2:]), "column": m.start(), "row": row,
                                       "width": tildes + 1, "address": None})
                else:
                    self.labels.append({"text": m.group(0), "column": m.start(), "row": row, "width": len(m.group(0))})
                columns, rows = max(columns, m.start() + (tildes or len(m.group(0)))), max(rows, row)
        self.columns, self.rows = columns + 4, rows + 2
        for line in lines[24:]:
            words = line.split()
            item = next((i for i in self.items if line[:1].isdigit() and i["number"] == int(words[0])), None)
            if item is None or item["address"] is not None:
                continue
            fields = [names[w] if w in names else int(w) for w in words[1:4]]
            code, group = fields[0], fields[0] // 32
            # A category 0 request carries no sub-number: tavir-sim sees code 0.
            item["address"] = (code if group else 0, fields[1] if group in WITH_GROUP else 0,
                               (fields[2] if group in WITH_GROUP else fields[1]) if group in WITH_BLOCK else 0)
            item["checkbox"] = group not in VALUE_CATEGORIES
            item["width"] += 4 if "DVWD" in line else 0

    @property
    def defined(self):
        return [(index, item) for index, item in enumerate(self.items) if item["address"] is not None]

    def addresses(self):
        return [item["address"] for _, item in self.defined]

    def read_and_monitor(self):
        return [(kind, a) for a in self.addresses() for kind in ("Read", "Monitor")]


def example(app, name):
    return WindowFile(Path(app) / name, application_names(app))


def window_file(items, labels):
    """A debug window file: value items 00 to items-1 (code 448, signal group = item number) and
    labels L000..., spread over the first 20 rows."""
    rows = [[] for _ in range(24)]
    for i in range(labels):
        rows[i % 20].append(f"L{i:03d}")
    for i in range(items):
        rows[i % 20].append(f"~~~~{i:02d}")
    screen = "".join(" " + " ".join(row) + "\n" for row in rows)
    return screen + "".join(f"{i:02d} 448 {i}\n" for i in range(items))


def own_app(case, files, name="app"):
    """The example application with debug window files of the case's own instead of its four."""
    app = case.app_dir(name=name)
    for path in app.glob("DEBUG_00?.TXT"):
        path.unlink()
    for name, text in files.items():
        (app / name).write_bytes(text.encode("cp1252"))
    return app


# ---------------------------------------------------------------------------------------------
# Looking at the program and at tavir-sim's request log.


def requests(sim, mark=0, kinds=("Read", "Monitor", "Stop", "Write")):
    """The requests tavir-sim received after the first mark entries of its log: (kind, address), value."""
    return [((e["kind"], (e["functionCode"], e["number"], e["block"])), e["value"], e["timeUs"])
            for e in sim.log()[mark:] if e.get("dir") == "in" and e["kind"] in kinds]


def kinds_and_addresses(entries):
    return [e[0] for e in entries]


def check_requests(entries, expected, what):
    """The requests' kinds and addresses are expected; a failure names the first difference."""
    actual = kinds_and_addresses(entries)
    at = next((i for i, (a, e) in enumerate(zip(actual, expected)) if a != e), min(len(actual), len(expected)))
    check(actual == expected, f"{what}: {len(actual)} requests instead of {len(expected)}; from request {at} "
                              f"{actual[at:at + 3]} instead of {expected[at:at + 3]}")


def wait_requests(sim, mark, count, what, kinds=("Read", "Monitor", "Stop", "Write"), timeout=10):
    return wait_for(what, lambda: (lambda r: r if len(r) >= count else None)(requests(sim, mark, kinds)), timeout)


def child_windows(case, main):
    return [w for w in case.children(main["hwnd"]) if w["class"] == CHILD]


def wait_current(case, main, name, count=None):
    """Waits until the child window of file name is current: the only one shown, named in the title."""
    def current():
        if case.probe.ask("text", main["hwnd"])["text"] != f"Debugger 001 - {name}":
            return None
        windows = child_windows(case, main)
        shown = [w for w in windows if w["visible"]]
        if count is not None and len(windows) != count:
            return None
        return shown[0] if len(shown) == 1 and shown[0]["text"].endswith("\\" + name) else None
    return wait_for(f"{name} to be the current window", current, 20)


def controls(case, child):
    return {w["id"]: w for w in case.children(child["hwnd"])}


def wait_values(case, child, window, timeout=10):
    """Waits until every defined item's control shows a value (is enabled); gives the controls."""
    def shown():
        found = controls(case, child)
        return found if all(found.get(i, {}).get("enabled") for i, _ in window.defined) else None
    return wait_for(f"values in {window.path.name}", shown, timeout)


def start(case, app=None, sim_args=(), current="DEBUG_001.TXT", count=None):
    sim = case.start_sim(extra=sim_args)
    app = app or case.app_dir()
    program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    child = wait_current(case, main, current, count)
    case.probe.ask("activate", main["hwnd"])
    return sim, app, program, main, child


def settle_start(case, sim, window):
    """Waits for the display start of window and for its reply check to have passed. A reply check
    asks whichever window is current when it comes: one still pending when the user pages on
    would ask the next window before that window's own display start."""
    wait_requests(sim, 0, 2 * len(window.defined), "the first display start", ("Read", "Monitor"))
    time.sleep(PROTOCOL_SETTLE)  # the reply check's 500 ms window
    return len(sim.log())


def page_to(case, main, name):
    case.probe.ask("keys", "pgdn")
    return wait_current(case, main, name)


def start_on(case, name):
    """TAVIR.EXE paged on to the example's window name (DEBUG_00n.TXT) once the first window's
    start has settled, with its values shown: gives sim, main, the window's file, its child window
    and its controls. Without repeats a value only arrives when it changes or is asked for, so
    nothing overwrites what a case types."""
    sim, app, _, main, _ = start(case, sim_args=["--rate", "0"])
    settle_start(case, sim, example(app, "DEBUG_001.TXT"))
    window = example(app, name)
    for n in range(2, int(name[8]) + 1):
        child = page_to(case, main, f"DEBUG_00{n}.TXT")
    return sim, main, window, child, wait_values(case, child, window)


# ---------------------------------------------------------------------------------------------
# Start-up and the display start.


def case_startup_values(case):
    """Every file opened and sorted, the first current; Read and Monitor for every item in item
    order (500 ms after the window became current: page_through measures it); values shown and the
    controls enabled."""
    sim = case.start_sim(extra=["--seed", "1"])
    app = case.app_dir()
    window = example(app, "DEBUG_001.TXT")
    case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    case.probe.ask("move", main["hwnd"], 40, 30, 760, 520)  # the size of the documentation's picture
    # The title and the log are watched in turn: each is seen at most one turn late.
    became = asked = None
    deadline = time.monotonic() + 30
    while asked is None and time.monotonic() < deadline:
        now = time.monotonic()
        if became is None and case.probe.ask("text", main["hwnd"])["text"] == "Debugger 001 - DEBUG_001.TXT":
            became = now
        if requests(sim, 0, ("Read", "Monitor")):
            check(became is not None, "values were asked for before the window became current")
            asked = now
        time.sleep(0.01)
    check(asked is not None, "no value was asked for")
    # The title is read by a message that the program answers only once it waits for input: at the
    # end of the start-up that can be some 0.3 s after the window became current, just before it
    # made its controls and was shown (the half second counts from there).
    check(0.15 <= asked - became <= 0.9, f"the first Read came {asked - became:.3f} s after the window became current")
    entries = wait_requests(sim, 0, 2 * len(window.defined), "Read and Monitor of every item", ("Read", "Monitor"),
                            timeout=30)
    check_requests(entries, window.read_and_monitor(), "the display start")

    names = sorted(wine_path(app, f"DEBUG_00{n}.TXT") for n in range(1, 5))
    windows = child_windows(case, main)
    check([w["text"] for w in windows] == names, f"child windows {[w['text'] for w in windows]}")
    check([w["visible"] for w in windows] == [True, False, False, False], "not only the first window is shown")
    found = wait_values(case, windows[0], window)
    case.picture("tavir-live-values.png", crop="840x600+0+0")  # the Wine desktop's top left
    for index, item in window.defined:
        control = found[index]
        check(control["class"] == (CHECKBOX if item["checkbox"] else EDIT), f"item {item['number']}: {control['class']}")
        shown = str(control.get("check")) if item["checkbox"] else control["text"]
        check(re.fullmatch(r"-?\d+" if not item["checkbox"] else "[01]", shown), f"item {item['number']} shows {shown!r}")
    # tavir-sim's clock starts on Monday 3 June 2024 with a seed: datum and dag are fixed.
    check(found[0]["text"] == "030624" and found[2]["text"] == "1", f"datum {found[0]['text']}, dag {found[2]['text']}")
    labels = [found[LABEL_BASE + n]["text"] for n in range(len(window.labels))]
    check(labels == [cp1252(label["text"]) for label in window.labels], f"labels {labels}")
    # Every item answered: nobody is asked again.
    time.sleep(PROTOCOL_SETTLE)  # the reply check's 500 ms window
    later = requests(sim, 0, ("Read", "Monitor"))[len(entries):]
    check(not later, f"further requests: {later}")


def case_serial_values(case):
    """COM1 on a pseudo-terminal of tavir-sim, at a speed other than its own: the port is set up
    with its settings, the boxes about the modem lines a pseudo-terminal lacks are shown and the
    start goes on, and the first window shows the values it asked for over the pseudo-terminal."""
    sim = case.start_sim(pty=True, extra=["--seed", "1"])
    case.env.map_com_port(1, sim.pty)
    app = case.app_dir()
    window = example(app, "DEBUG_001.TXT")
    case.start_tavir(["19200"], app)
    # Raising DTR fails in the open sequence, and so does the reader's first modem-status call.
    for text in ("Fatale fout: er is een fout opgetreden tijdens het instellen van de COM-poort (Raise DTR).\n"
                 "Controleer de COM-poortinstellingen.",
                 "Er is een fout opgetreden tijdens het instellen van de COM-poort (GetCommModemStatus).\n"
                 "                          Controleer de COM-poortinstellingen."):
        box = case.wait_box(LINK_CAPTION)
        check(box["texts"] == [text], f"box {box['texts']} instead of {text!r}")
        case.answer_box(box)
    main = case.wait_top(MAIN_CLASS)
    # The boxes hold the reader, so the reply check may ask again (and say that no value came).
    found = wait_values(case, wait_current(case, main, "DEBUG_001.TXT"), window)
    check(found[0]["text"] == "030624", f"datum {found[0]['text']}")
    entries = [e for e in sim.log() if e.get("kind") in ("Read", "Monitor")]
    check(entries and all(e["link"] == "pty" for e in entries), "requests did not come over the pseudo-terminal")
    settings = subprocess.run(["stty", "-a", "-F", sim.pty], capture_output=True, text=True, timeout=10).stdout
    words = settings.replace(";", " ").split()
    for flag in ("19200", "cs8", "-parenb", "-cstopb", "-crtscts", "-ixon", "-ixoff"):
        check(flag in words, f"the port is not set up with {flag}: {settings}")
    check(not case.message_boxes(), "no further message box")


# A window of its own: item 02 has function code 3 of category 0, which a request cannot name (it
# is asked as code 0, and the answer is for code 0): it is never answered.
REPLY_WINDOW = " Antwoord ~~~~01  geen ~02  wel ~03\n" + "\n" * 23 + "01 ronde_teller\n02 3 0\n03 R SG02\n"


def case_reply_check(case):
    """Half a second after the display start, the items without a reply are asked again, once: they
    stay disabled and the others show values. Without any answer every item stays disabled and the
    missing connection is reported once. (Which requests the display start and the reply check
    send is the unit tests'; here their timer.)"""
    for row, (sim_args, answered) in enumerate([((), {0, 2}), (("--silent",), set())]):
        app = own_app(case, {"DEBUG_001.TXT": REPLY_WINDOW}, name=f"app{row}")
        window = example(app, "DEBUG_001.TXT")
        sim, _, program, main, child = start(case, app, sim_args)
        n, again = 2 * len(window.defined), 2 * (len(window.defined) - len(answered))
        entries = wait_requests(sim, 0, n + again, "the display start and the reply check", ("Read", "Monitor"))
        gap = (entries[n][2] - entries[n - 1][2]) / 1e6
        check(0.45 <= gap <= 0.8, f"asked again {gap:.3f} s after the display start")
        time.sleep(PROTOCOL_SETTLE)  # a second reply check would come within this window
        check(len(requests(sim, 0, ("Read", "Monitor"))) == n + again, f"asked more than once again: {requests(sim)}")
        found = controls(case, child)
        enabled = {i for i, (index, _) in enumerate(window.defined) if found[index]["enabled"]}
        check(enabled == answered, f"enabled items {enabled} instead of {answered}")
        lines = case.message_lines(main)[0]
        check(lines.count(NO_CONNECTION) == (0 if answered else 1), f"last lines {lines[-3:]}")
        case.probe.ask("close", main["hwnd"])
        program.wait_exit()


def case_page_through(case):
    """PgDn through the windows within 500 ms: Stop for each window left, requests for the last only."""
    sim, app, _, main, _ = start(case)
    files = [example(app, f"DEBUG_00{n}.TXT") for n in range(1, 5)]
    mark = settle_start(case, sim, files[0])
    case.probe.ask("keys", "pgdn", "pgdn", "pgdn")
    wait_current(case, main, "DEBUG_004.TXT")
    stops = sum(len(f.defined) for f in files[:3])
    entries = wait_requests(sim, mark, stops + 2 * len(files[3].defined), "the last window's display start")
    time.sleep(PROTOCOL_SETTLE)  # late requests of a window passed through would come within this window
    entries = requests(sim, mark)
    expected = [("Stop", a) for f in files[:3] for a in f.addresses()] + files[3].read_and_monitor()
    check_requests(entries, expected, "after PgDn")
    span = (entries[stops - 1][2] - entries[0][2]) / 1e6
    check(span < 0.5, f"the keys took {span:.3f} s: not within 500 ms")
    delay = (entries[stops][2] - entries[stops - 1][2]) / 1e6
    check(0.45 <= delay <= 0.8, f"the last window was asked {delay:.3f} s after it became current")


# Windows of 300 controls: more of them than the program's budget of 7,000 controls holds at once.
MANY, BUDGET = 26, 7000


def case_many_windows(case):
    """A window makes its controls when it is first shown, or before as a neighbour of the current
    one; paging through more windows than the budget holds keeps every value showing and the
    controls within it, and the window shown least recently, whose controls went, makes them again
    with its labels, places and values."""
    app = own_app(case, {f"DEBUG_{n:03d}.TXT": window_file(100, 200) for n in range(MANY)})
    window = example(app, "DEBUG_000.TXT")
    _, _, _, main, child = start(case, app, current="DEBUG_000.TXT", count=MANY)

    def held(most):
        classes = case.probe.ask("classes", main["hwnd"])["classes"]
        count = sum(n for _, (n, _) in classes.items())
        check(count <= most, f"{count} windows below the debugger window, more than {most}: {classes}")

    # The first window's controls and its two neighbours', the child windows, the message window
    # and its list.
    held(3 * 300 + MANY + 2)
    wait_values(case, child, window)
    for n in range(1, MANY):
        became = time.monotonic()
        wait_values(case, page_to(case, main, f"DEBUG_{n:03d}.TXT"), window)
        held(BUDGET + MANY + 2)
        if n == MANY - 2:  # before the first window is the next one's neighbour again
            first = child_windows(case, main)[0]
            check(not controls(case, first), "the window shown least recently still holds its controls")
        time.sleep(max(0.0, became + PROTOCOL_SETTLE - time.monotonic()))  # the reply check of this window
    child = page_to(case, main, "DEBUG_000.TXT")
    found = wait_values(case, child, window)
    labels = [found[LABEL_BASE + n]["text"] for n in range(len(window.labels))]
    check(labels == [label["text"] for label in window.labels], f"labels made again: {labels[:3]}...")
    expect_layout(case, child, window)
    lines = case.message_lines(main)[0]
    check(not [line for line in lines if "aangemaakt" in line], f"a control could not be made: {lines[-3:]}")


# ---------------------------------------------------------------------------------------------
# Editing.


def focus_item(case, main, child, index, presses=None):
    """Moves the item focus with Ctrl+Right to item index (from no item: index + 1 presses)."""
    case.probe.ask("keys", *["ctrl+right"] * (index + 1 if presses is None else presses))
    target = controls(case, child)[index]["hwnd"]
    wait_for(f"item {index} to have the focus", lambda: case.probe.ask("focus", main["hwnd"])["focus"] == target, 10)
    return target


def case_edit_values(case):
    """Typing and Enter writes and reads back; a change in tavir-sim shows. (Space on a check box is
    input_after_waiting_values'.)"""
    sim, main, window, child, found = start_on(case, "DEBUG_002.TXT")
    for index, item in window.defined:
        if not item["checkbox"] and item["address"][0] < 480:
            check(found[index]["text"] == str(sim.get(*item["address"])), f"item {item['number']}: {found[index]['text']}")
    edit = focus_item(case, main, child, 1)
    address = window.items[1]["address"]
    mark = len(sim.log())
    case.probe.ask("settext", edit, "")
    case.probe.ask("keys", "1", "2", "3", "enter")
    entries = wait_requests(sim, mark, 2, "the Write and the Read")
    check(kinds_and_addresses(entries[:2]) == [("Write", address), ("Read", address)] and entries[0][1] == 123,
          f"after Enter: {entries}")
    check(sim.get(*address) == 123, "tavir-sim does not hold the typed value")
    check(sim.command(f"set {address[0]} {address[1]} {address[2]} 77") == "ok", "set refused")
    wait_for("the value set in tavir-sim", lambda: case.probe.ask("text", edit)["text"] == "77", 5)


def case_input_after_waiting_values(case):
    """Input that meets values still waiting for the window (its thread held up while tavir-sim
    sends them) acts after them, as if each value had reached its item at once: Space and a click
    flip the value received last, and the check box keeps the focus."""
    sim, main, window, child, found = start_on(case, "DEBUG_004.TXT")
    case.probe.ask("watch", main["hwnd"])
    box = found[0]
    focus_item(case, main, child, 0)
    address = window.items[0]["address"]
    for what, action in (("Space", lambda: case.probe.ask("keys", "space")), ("a click", lambda: case.click(box))):
        received = 1 - controls(case, child)[0]["check"]
        mark = len(sim.log())
        check(case.probe.ask("hold", main["hwnd"], 1500)["ok"], "the window's thread was not held")
        check(sim.command(f"set {address[0]} {address[1]} {address[2]} {received}") == "ok", "set refused")
        wait_for("the value sent", lambda: any(e.get("dir") == "out" for e in sim.log()[mark:]), 1)
        time.sleep(0.2)  # received, and waiting for the window
        action()
        entries = wait_requests(sim, mark, 1, f"the Write of {what}", ("Write",))
        check(entries[0][:2] == (("Write", address), 1 - received), f"{what} after {received} wrote {entries}")
        wait_for("the check mark", lambda: controls(case, child)[0]["check"] == 1 - received, 5)
    check(case.probe.ask("focus", main["hwnd"])["focus"] == box["hwnd"], "the check box lost the focus")


def case_item_over_label(case):
    """A click where a doubled display overlaps the label after it (the long second line makes the
    columns narrower than a character) reaches the item: Escape then reads it back."""
    app = own_app(case, {"DEBUG_001.TXT": " ~01 Naam\n" + " " * 150 + "Einde\n" + "\n" * 22 + "01 DVWD SG02_D1\n"})
    sim, app, _, main, child = start(case, app)
    window = example(app, "DEBUG_001.TXT")
    mark = settle_start(case, sim, window)
    found = controls(case, child)
    item, label = found[0]["rect"], found[LABEL_BASE]["rect"]
    check(item[0] < label[0] + 2 < item[2], f"the item {item} does not overlap the label {label}")
    case.probe.ask("mouse", label[0] + 2, (label[1] + label[3]) // 2)
    case.probe.ask("keys", "escape")
    entries = wait_requests(sim, mark, 1, "the Read of the item", ("Read",))
    check(kinds_and_addresses(entries) == [("Read", window.items[0]["address"])], f"after the click: {entries}")


def case_unsaved_change(case):
    """A typed value left by a click: Yes writes it and reads back, No only reads back."""
    sim, main, window, child, _ = start_on(case, "DEBUG_002.TXT")
    edit = focus_item(case, main, child, 1)
    address = window.items[1]["address"]
    for answer, typed in (("Yes", "45"), ("No", "67")):
        before = sim.get(*address)
        mark = len(sim.log())
        case.probe.ask("settext", edit, "")
        case.probe.ask("keys", *typed)
        case.click(controls(case, child)[2])
        box = case.wait_box("TAVIR")
        check(box["texts"] == [QUESTION] and set(box["buttons"]) == {"Yes", "No"}, f"question {box['texts']}")
        case.answer_box(box, answer)
        wait_requests(sim, mark, 1, "the Read of the item", ("Read",))
        entries = requests(sim, mark)
        written = [(("Write", address), int(typed))] if answer == "Yes" else []
        check([e[:2] for e in entries][:-1] == written and entries[-1][0] == ("Read", address),
              f"{answer}: {entries}")
        value = str(int(typed) if answer == "Yes" else before)
        wait_for("the controller's value on screen", lambda: case.probe.ask("text", edit)["text"] == value, 5)
        case.click_to_focus(main, controls(case, child)[1])


# ---------------------------------------------------------------------------------------------
# Files, dialogs and keys.


def case_file_errors(case):
    """A file's faults give exactly the lines of the loader's golden file, with the file and line
    prefixes, and the window holds the controls of the items that remain."""
    fixture = FIXTURES / "debugwin" / "definition_errors"
    app = own_app(case, {})
    shutil.copy(fixture.with_suffix(".TXT"), app / "DEBUG_101.TXT")
    golden = fixture.with_suffix(".golden").read_text("cp1252").splitlines()
    _, _, _, main, child = start(case, app, current="DEBUG_101.TXT", count=1)
    lines = wait_for("the end of the start-up", lambda: (lambda l: l if any("?????_???.DBG" in x for x in l) else None)(
        case.message_lines(main)[0]), 20)
    path = wine_path(app, "DEBUG_101.TXT")
    at = lines.index(path) + 1
    end = next(i for i, line in enumerate(lines) if i >= at and "?????" in line)
    want = [line[8:].replace("definition_errors.TXT", path) for line in golden if line.startswith("message ")]
    check(lines[at:end] == want, f"{lines[at:end]} instead of {want}")
    items = sorted(i for i, w in controls(case, child).items() if w["class"] in (EDIT, CHECKBOX))
    expected = [int(line.split()[1]) for line in golden if line.startswith("item ") and ", control" in line]
    check(items == expected, f"item controls {items} instead of {expected}")


def list_dialog(case, main, command, caption):
    case.probe.ask("command", main["hwnd"], command)
    box = case.wait_box(caption)
    kids = {k["id"]: k for k in case.children(box["window"]["hwnd"])}
    return box, kids, lambda: case.probe.ask("lines", kids[1001]["hwnd"])


def case_open_and_lists(case):
    """Two files through the Open dialog; the close dialog with mkdebfls.txt names. (What the list
    dialogs list and select is the window list's unit tests'.)"""
    app = case.app_dir()
    for n in (1, 2):
        shutil.copy(app / f"DEBUG_00{n + 1}.TXT", app / f"NIEUW_00{n}.TST")
    sim, _, _, main, _ = start(case, app)
    first, new = example(app, "DEBUG_001.TXT"), example(app, "NIEUW_002.TST")
    mark = settle_start(case, sim, first)
    _, kids, _ = list_dialog(case, main, 40001, "Selecteer debug bestand van Kalvoor 001")
    # Wine's dialog without the explorer style has no multiple selection in its list; a name typed
    # with a leading blank comes back as the directory, a blank and the names: the form of a
    # multiple selection.
    case.probe.ask("settext", kids[1152]["hwnd"], " NIEUW_001.TST NIEUW_002.TST")
    case.probe.ask("click", kids[1]["hwnd"])
    wait_current(case, main, "NIEUW_002.TST", 6)
    names = [wine_path(app, f"DEBUG_00{n}.TXT") for n in range(1, 5)] + [wine_path(app, f"NIEUW_00{n}.TST") for n in (1, 2)]
    check([w["text"] for w in child_windows(case, main)] == names, "the opened windows are not sorted in")
    check(case.message_lines(main)[0][-2:] == names[4:], "the opened paths are not reported")
    wait_requests(sim, mark, 2 * len(new.defined), "the new window's display start", ("Read", "Monitor"))
    # Late requests would come within this window; and a reply check still pending when the window
    # is closed below would check the next one, before its own display start.
    time.sleep(PROTOCOL_SETTLE)  # the reply check's 500 ms window
    entries = requests(sim, mark, ("Read", "Monitor"))
    check_requests(entries, new.read_and_monitor(), "after Open")
    # The window shown before is stopped; whether a new window is stopped before it starts is the
    # program's choice, so other Stops may only be the new window's own.
    stops = [a for _, a in kinds_and_addresses(requests(sim, mark, ("Stop",)))]
    n = len(first.defined)
    check(any(stops[i:i + n] == first.addresses() for i in range(len(stops))) and
          set(stops) - set(first.addresses()) <= set(new.addresses()), f"Stops after Open: {stops}")

    titles = [line.rstrip("\n") for line in (app / "mkdebfls.txt").read_text("cp1252").splitlines()] + names[4:]
    box, kids, lines = list_dialog(case, main, 40015, "Debug Vensters Sluiten")
    check(lines()["lines"] == titles and lines()["selected"] == 0, f"close list {lines()}")
    check(kids[1]["text"] == "&Sluiten" and kids[2]["text"] == "&Annuleren", "close dialog buttons")
    case.probe.ask("select", kids[1001]["hwnd"], 5)
    case.probe.ask("click", kids[1]["hwnd"])
    wait_for("the closed window to leave the list", lambda: lines()["lines"] == titles[:5], 10)
    check(lines()["selected"] == 4, f"selection after closing {lines()}")
    check(case.message_lines(main)[0][-1] == names[5] + " wordt verwijderd", "no line about the closed window")
    wait_current(case, main, "NIEUW_001.TST", 5)
    case.answer_box(box, "Annuleren")



def case_keys_and_display(case):
    """Ctrl+Tab and a click into the message window decide where keys go; F3 stops, F5 continues;
    with the focus in the message list the menu's keys reach the debugger window through the hook,
    and only they open a dialog."""
    sim, app, _, main, child = start(case)
    window = example(app, "DEBUG_001.TXT")
    mark = settle_start(case, sim, window)
    focus = lambda: case.probe.ask("focus", main["hwnd"])["focus"]  # noqa: E731
    box = case.child(main["hwnd"], cls="TVRMSGCLASS")
    listbox = case.child(box["hwnd"], cls="ListBox")
    focus_item(case, main, child, 0)

    def stopped_with_keys_to(where, *keys):
        """keys, then F3 and F5: once their requests are in the log every key before them was
        handled, and the focus must still be where it was."""
        nonlocal mark
        case.probe.ask("keys", *keys, "f3", "f5")
        expected = [("Stop", a) for a in window.addresses()] + window.read_and_monitor()
        entries = wait_requests(sim, mark, len(expected), "the requests of F3 and F5")
        check_requests(entries, expected, "F3 and F5")
        mark = len(sim.log())
        check(focus() in where, f"the keys moved the focus to {focus()}")

    case.probe.ask("keys", "ctrl+tab")
    wait_for("the focus in the message window", lambda: focus() in (box["hwnd"], listbox["hwnd"]), 10)
    stopped_with_keys_to((box["hwnd"], listbox["hwnd"]), "ctrl+right")
    case.probe.ask("keys", "ctrl+tab")
    wait_for("the focus on the child window", lambda: focus() == child["hwnd"], 10)
    focus_item(case, main, child, 1, presses=1)
    case.click_to_focus(main, listbox)
    stopped_with_keys_to((listbox["hwnd"],), "ctrl+right")

    # Keys reach the debugger window through the hook while the message list has the focus.
    case.probe.ask("keys", "ctrl+o")
    escape(case, wait_dialog(case, main, "the open-file dialog", "Selecteer debug bestand van Kalvoor 001"))
    # The dialog's end gives the focus to the debugger window itself: click into the list again.
    case.click_to_focus(main, listbox)
    case.probe.ask("keys", "ctrl+l")
    font = wait_dialog(case, main, "the font dialog")
    escape(case, font)
    case.click_to_focus(main, listbox)
    # Ctrl was let go inside the font dialog: a plain O is no Ctrl+O. Had it opened the open-file
    # dialog, the Ctrl+L after it would go to that dialog and no font dialog would come.
    case.probe.ask("keys", "o", "ctrl+l")
    after_o = wait_dialog(case, main, "a dialog after O and Ctrl+L")
    check(after_o["caption"] == font["caption"], "a plain O opened the open-file dialog")
    escape(case, after_o)
    # F4 and F6 do nothing although the menu names them. Keys are handled in order, so a dialog
    # that one of them opened would stand before the font dialog that Ctrl+L opens after them,
    # and would take the Ctrl+L itself: the one dialog that comes must be the font dialog.
    case.probe.ask("keys", "f4", "f6", "pgdn", "pgup", "ctrl+l")
    last = wait_dialog(case, main, "a dialog after F4, F6, PgDn, PgUp and Ctrl+L")
    opened = case.message_boxes()
    check(len(opened) == 1 and last["caption"] == font["caption"],
          f"a key opened a dialog: {[(b['caption'], b['texts']) for b in opened]}")
    escape(case, last)
    lines, _ = case.message_lines(main)
    check(lines[-1] == "Er zijn geen debug venster bestanden die voldoen aan dit pad.", "keys added lines")


# ---------------------------------------------------------------------------------------------
# Layout.


def expect_layout(case, child, window):
    """Every item and label at column x width / columns, row x height / rows of the child window's
    client area, all of one height and as wide as their characters; gives (char width, height)."""
    left, top, right, bottom = child["rect"]
    width, height = right - left - 2, bottom - top - 2  # inside the one-pixel border
    found = controls(case, child)
    placed = [(found[i], item) for i, item in window.defined] + \
             [(found[LABEL_BASE + n], label) for n, label in enumerate(window.labels)]
    char_width = (placed[0][0]["rect"][2] - placed[0][0]["rect"][0]) // placed[0][1]["width"]
    char_height = placed[0][0]["rect"][3] - placed[0][0]["rect"][1]
    for control, what in placed:
        x, y, x2, y2 = control["rect"]
        expected = [left + 1 + what["column"] * width // window.columns, top + 1 + what["row"] * height // window.rows,
                    what["width"] * char_width, char_height]
        check([x, y, x2 - x, y2 - y] == expected, f"{what} at {control['rect']} instead of {expected}")
    return char_width, char_height


def case_layout(case):
    """Resizing rescales items and labels; a font change resizes them; minimise and restore keep
    the message window's height and the child window."""
    _, app, _, main, child = start(case)
    window = example(app, "DEBUG_001.TXT")
    wait_values(case, child, window)
    size = expect_layout(case, child, window)
    case.probe.ask("move", main["hwnd"], 10, 10, 900, 700)
    child = wait_for("the child window to grow", lambda: (lambda c: c if c["rect"] != child["rect"] else None)(
        child_windows(case, main)[0]), 10)
    check(expect_layout(case, child, window) == size, "resizing changed the character size")

    case.probe.ask("command", main["hwnd"], 40021)
    font = wait_dialog(case, main, "the font dialog")
    kids = case.children(font["window"]["hwnd"])
    # The size is typed into the edit field of the size box (id 1138): the dialog takes a size
    # from the field's change notifications, which a text set from outside does not give.
    size_box = next(k for k in kids if k["id"] == 1138)["hwnd"]
    case.click(next(k for k in kids if k["class"] == "Edit" and k["parent"] == size_box))
    case.probe.ask("keys", "end", "backspace", "backspace", "2", "0")
    case.probe.ask("click", next(k for k in kids if k["id"] == 1)["hwnd"])
    wait_for("the font dialog to close", lambda: case.find_box_gone(font["window"]["hwnd"]), 10)
    bigger = wait_for("larger items", lambda: (lambda s: s if s[1] > size[1] else None)(
        expect_layout(case, child, window)), 10)
    check(bigger[0] > size[0], f"the characters did not widen: {size} to {bigger}")

    box = case.child(main["hwnd"], cls="TVRMSGCLASS")
    case.probe.ask("show", main["hwnd"], SW_MINIMIZE)
    wait_for("the window to be minimised", lambda: case.find_top(MAIN_CLASS)["style"] & WS_MINIMIZE, 10)
    case.probe.ask("show", main["hwnd"], SW_RESTORE)
    wait_for("the window to be restored", lambda: not case.find_top(MAIN_CLASS)["style"] & WS_MINIMIZE, 10)
    after = wait_for("the message window back", lambda: case.child(main["hwnd"], cls="TVRMSGCLASS")["rect"] == box["rect"]
                     and case.child(main["hwnd"], cls="TVRMSGCLASS"), 10)
    child = child_windows(case, main)[0]
    check(child["visible"] and after["rect"][1] - 8 <= child["rect"][3] <= after["rect"][1],
          f"child window {child['rect']} does not end where the message window {after['rect']} begins")
    expect_layout(case, child, window)


# ---------------------------------------------------------------------------------------------
# The end while values stream.


def case_close_while_streaming(case):
    """Normal ends while values arrive, by the close box and by Afsluiten in turn, with the reader
    anywhere in its loop (blocked in a receive, or handing bytes on): exit code 1 within 5 s each
    time (an end that waits for the stream to pause is a hang to the user) and no socket error
    reported on standard output. One row per stream: bursts of value frames from tavir-sim to a
    program without debug windows (so no receive trace: standard output stays empty), and the first
    window's monitored values repeated at tavir-sim's highest rate."""
    for row, (what, sim_args, ends) in enumerate([("bursts", (), 5), ("monitored values", ("--rate", "1000"), 20)]):
        sim = case.start_sim(extra=sim_args)
        app = case.app_dir(name=f"app{row}")
        window = example(app, "DEBUG_001.TXT")
        stream = None
        if not sim_args:
            remove_debug_windows(app)
            stream = ValueStream(sim)
        try:
            for attempt in range(ends):
                program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
                main = case.wait_top(MAIN_CLASS)
                if stream:
                    wait_for("tavir-sim to see the connection", lambda: sim.saw("connect", attempt + 1), 10)
                    streamed = stream.sent
                    wait_for("values to stream", lambda: stream.sent >= streamed + 20, 10)
                else:
                    wait_values(case, wait_current(case, main, "DEBUG_001.TXT"), window)
                how = f"{what}, end {attempt + 1} by " + ("the close box", "Afsluiten")[attempt % 2]
                case.probe.ask(*(("close", main["hwnd"]) if attempt % 2 == 0 else ("command", main["hwnd"], 40002)))
                try:
                    code = program.wait_exit(5)
                except E2EFailure as failure:
                    raise E2EFailure(f"{how}: {failure}") from None
                output = program.output()
                check(code == 1 and (output == "" if stream else "Error detect" not in output),
                      f"{how}: exit code {code}, standard output {output!r}")
                if stream:
                    wait_for("tavir-sim to see the connection end", lambda: sim.saw("disconnect", attempt + 1), 10)
        finally:
            if stream:
                stream.stop()


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
