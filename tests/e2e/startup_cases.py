#!/usr/bin/env python3
"""Start-up of TAVIR.EXE over TCP to tavir-sim (the serial start is debugwin_cases' serial_values),
the quiet end of the connection by tavir-sim, and the ways the start ends early."""

import configparser
import fnmatch
import os
import sys
import threading
import time

from harness import E2EFailure, check, cp1252, run, wait_for

MAIN_CLASS = "TVRMAINCLASS"
LINK_CAPTION = "TAVIR.EXE"
PORT_NOT_OPENED = "Fatale fout: de COM-poort kan niet geopend worden.\nControleer de COM-poortinstellingen."


def wine_path(directory, name=""):
    """How Wine names a Linux path: drive Z: is the root."""
    path = "Z:" + str(directory).replace("/", "\\")
    return path + ("\\" + name if name else "")


def debug_files(app, pattern):
    return sorted(n for n in os.listdir(app) if fnmatch.fnmatch(n.upper(), pattern))


def remove_debug_windows(app):
    """Without debug window files no child window is shown: nothing is requested, no receive
    trace is printed and no reply check reports."""
    for name in debug_files(app, "DEBUG_???.*") + debug_files(app, "?????_???.DBG"):
        (app / name).unlink()


def expect_startup_lines(case, main, app):
    """The message window's lines of a start-up in app, in order, with the newest one selected."""
    none_found = "Er zijn geen debug venster bestanden die voldoen aan dit pad."
    searches = []
    for pattern in ("DEBUG_???.*", "?????_???.DBG"):
        files = debug_files(app, pattern)
        # Each file tried shows its path; the order is the file system's.
        searches.append((wine_path(app, pattern) + ": Inlezen van de debug venster bestanden...",
                         sorted(wine_path(app, n) for n in files) or [none_found]))
    expected_count = sum(1 + len(paths) for _, paths in searches)

    def complete():
        lines, selected = case.message_lines(main)
        if searches[0][0] not in lines:
            return None
        return (lines, selected) if len(lines) - lines.index(searches[0][0]) >= expected_count else None

    lines, selected = wait_for("the start-up's message lines", complete, 30)
    check(lines[:2] == ["macrodef.qtz : Inlezen van het macro definitie bestand.",
                        wine_path(app, "KVAPDEF.H") + " : Inlezen van het Kalvoor definitie bestand."],
          f"first lines: {lines[:2]}")
    # Whatever the readers report about the example stands between; the searches follow it.
    at = lines.index(searches[0][0])
    for search_line, paths in searches:
        check(lines[at] == search_line, f"line {at}: {lines[at]!r} instead of {search_line!r}")
        tried = lines[at + 1:at + 1 + len(paths)]
        check(sorted(tried) == paths, f"after {search_line!r}: {tried} instead of {paths}")
        at += 1 + len(paths)
    check(at == len(lines), f"lines after the searches: {lines[at:]}")
    check(selected == len(lines) - 1, f"the newest line is not selected: {selected} of {len(lines)}")
    return lines


def case_tcp_startup(case):
    """The example application over TCP: lines in order, the title, the settings after a move."""
    sim = case.start_sim()
    app = case.app_dir()
    program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    # The first debug window file in path order becomes the current child window and names it.
    title = "Debugger 001 - DEBUG_001.TXT"
    wait_for(f"the title {title!r}", lambda: case.find_top(MAIN_CLASS)["text"] == title, 10)
    # Without a settings file the window opens at 0,0 with 500 x 400.
    check(main["rect"] == [0, 0, 500, 400], f"first place {main['rect']}")
    expect_startup_lines(case, main, app)
    wait_for("tavir-sim to see the connection", lambda: sim.saw("connect"), 10)

    check(case.probe.ask("move", main["hwnd"], 40, 30, 640, 480)["ok"], "the window could not be moved")

    def stored():
        ini, parser = app / "tavir.ini", configparser.ConfigParser()
        parser.optionxform = str
        parser.read_string(ini.read_bytes().decode("cp1252") if ini.exists() else "")
        section = parser["Hoofdvenster"] if parser.has_section("Hoofdvenster") else {}
        return [section.get(k) for k in ("X-positie", "Y-positie", "Breedte", "Hoogte")] == ["40", "30", "640", "480"]

    wait_for("tavir.ini to hold the new place", stored, 10)
    # The message window stays docked along the bottom of the client area.
    box = case.child(main["hwnd"], cls="TVRMSGCLASS")
    check(box["rect"][3] >= 30 + 480 - 8, f"message window not at the bottom: {box['rect']}")

    # A second start opens where the first one was left.
    case.probe.ask("close", main["hwnd"])
    code = program.wait_exit()
    check(code == 1, f"a normal end gives exit code 1, not {code}")
    case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    again = case.wait_top(MAIN_CLASS)
    check(again["rect"] == [40, 30, 680, 510], f"second place {again['rect']}")


def case_connection_end(case):
    """tavir-sim ends the connection once the debugger is connected, by a reset and in order: the
    reader ends or goes on without a message and the program runs on. The end is asked for only
    after the main window exists: a reset that reaches the debugger while it is still connecting is
    a failed connect, which is another case."""
    for what in ("reset", "close"):
        sim = case.start_sim()
        app = case.app_dir(name=what)
        # A child window would send its requests into the ended connection, which ends the program
        # after its message; this case is about the reader alone.
        remove_debug_windows(app)
        program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
        main = case.wait_top(MAIN_CLASS)
        wait_for("tavir-sim to see the connection", lambda: sim.saw("connect"), 10)
        check(sim.command(what) == "ok", f"tavir-sim could not {what} the connection")
        wait_for(f"tavir-sim to {what} the connection", lambda: sim.saw(what), 10)
        expect_startup_lines(case, main, app)
        # A message would come at once from the reader thread; give it a moment to show.
        deadline = time.monotonic() + 1.0
        while time.monotonic() < deadline:
            check(not case.message_boxes(), f"the {what} showed a message")
            time.sleep(0.1)
        check(program.process.poll() is None, "the program ended")
        case.probe.ask("command", main["hwnd"], 40002)
        check(program.wait_exit() == 1, "the program does not end normally")


class ValueStream:
    """tavir-sim sends value frames to the connected debugger, a burst every few milliseconds, on a
    thread of its own until stopped. A burst without a client is answered with an error and the
    stream goes on."""

    BURST = "send " + "a24547" * 80  # 80 short value frames

    def __init__(self, sim):
        self.sim = sim
        self.sent = 0
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.stopping.is_set():
            try:
                if self.sim.command(self.BURST) == "ok":
                    self.sent += 1
            except E2EFailure:
                return
            self.stopping.wait(0.002)

    def stop(self):
        self.stopping.set()
        self.thread.join(timeout=15)
        check(not self.thread.is_alive(), "the value stream did not stop")


def case_early_ends(case):
    """The ways the start ends early, one row each: the boxes shown in order (each answered with OK,
    its only button), the exit code and the report on standard output. A bad COM port and a bad
    speed each show their box and parsing goes on (the other bad arguments are the unit tables');
    COM1 leads nowhere. A refused connection reports on standard output; a directory without
    KVAPDEF.H ends the start after its box."""
    sim = case.start_sim()
    refused = case.start_sim()
    refused.close()  # its port is free again: nothing listens there
    tcp = ["-IP", "127.0.0.1", "-IPP", str(sim.port)]
    connect = "error calling connect():\nThe attempt to connect was forcefully rejected."
    empty = case.app_dir(with_example=False, name="empty")
    rows = [
        (["-C", "9", "-B", "77"], case.app_dir(),
         [("TAVIR", "LOG : Geen geldig seri\xeble-poort argument. \nAlleen poortnummers 1,2,3 en 4 zijn "
                    "toegestaan.\nCOM1 zal gebruikt worden."),
          ("TAVIR", "LOG : Geen geldig baudrate argument.\n9600 baud zal gebruikt worden."),
          (LINK_CAPTION, PORT_NOT_OPENED)], 0, ""),
        (["-IP", "127.0.0.1", "-IPP", str(refused.port)], case.app_dir(name="refused"),
         [("TAVIR - IP communicatie probleem - einde programma", connect)], 1,
         "Error detect: \n\t\t==> error code: 10061\n\t\t==> error message: " + connect + "\n"),
        (tcp, empty, [("Debugger Foutmelding", f"Het applicatie definitie bestand '{wine_path(empty, 'KVAPDEF.H')}' "
                                               "\nkon niet worden geopend.")], 0, ""),
    ]
    for args, app, boxes, exit_code, output in rows:
        program = case.start_tavir(args, app)
        for caption, text in boxes:
            box = case.wait_box(caption)
            check(box["texts"] == [cp1252(text)], f"box '{caption}': {box['texts']} instead of {text!r}")
            check(list(box["buttons"]) == ["OK"], f"buttons of '{caption}': {list(box['buttons'])}")
            case.answer_box(box)
        code = program.wait_exit()
        check(code == exit_code, f"{args}: exit code {code} instead of {exit_code}")
        check(case.find_top(MAIN_CLASS) is None, "the debugger window stayed")
        check(program.output().endswith(output), f"standard output {program.output()!r}")


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
