#!/usr/bin/env python3
"""The batch tools' dialogs of TAVIR.EXE, opened by their start-up word, against tavir-sim on the
example application over TCP."""

import sys
import time

from harness import DIALOG_CLASS, IDOK, check, run, wait_for

DIFFERENCES_CAPTION = "Verschillen met KVAPTAB.C zien"
ADJUSTMENT_DIALOG = "Automatische aanpassing parameters"
ADJUSTMENT_CAPTION = "Automatische Parameter Aanpassing"
START_ADJUSTMENT = 1046
SWEEP_CAPTION = "Automatische Afname"
START_SWEEP = 1023
RESET_ORIGINALS = 1003
DUMP_VERIFY, DUMP_FETCH, DUMP_ABORT, DUMP_MAKE = 1002, 1003, 1004, 1006
DUMP_STATUS = 1014
DUMP_CLOSE = 1021
KIND_KEYS = ["Ontruimingstijden", "VG-tijden", "GL-tijden", "MG-tijden", "Hiaattijden", "Tijden", "Klokken",
             "Schakelaars", "EGGPARM", "EPARM"]
NO_CONNECTION = "Er is geen verbinding aanwezig."
START_DIFFERENCES = 1051
CHOOSE_FILE = 1022
DIRECTORY_EDIT = 1053
INTERVAL_MS = 100
JITTER_MS = 15


def start_tool(case, word, caption, prefix=None, chosen=(), keys=()):
    """TAVIR.EXE started by a tool's start-up word, with its settings (the kinds chosen selected,
    the others not, the interval, saved to one file, and keys), once the tool's dialog is open and
    the display start has passed (see wait_display_start)."""
    sim = case.start_sim()
    app = case.app_dir()
    if prefix:
        settings = {**{kind: int(kind in chosen) for kind in KIND_KEYS}, "Speed": INTERVAL_MS, "Save to file": 1,
                    "Save separate files": 0, **dict(keys)}
        lines = ["[Hoofdvenster]"] + [f"{prefix} {key}={value}" for key, value in settings.items()]
        (app / "tavir.ini").write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    case.start_tavir([word, "-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    dialog = case.wait_top(DIALOG_CLASS, caption, 30)
    wait_display_start(case)
    return sim, app, dialog


def answer_box_saying(case, caption, text, timeout=100, picture=None):
    """Waits for a message box (not the tool's own dialog of the same caption) that shows text,
    takes the documentation's picture of it when named, and answers it."""
    box = wait_for(f"the message '{text}'", lambda: next(
        (b for b in case.message_boxes() if b["caption"] == caption and text in b["texts"]), None), timeout)
    if picture:
        case.picture(picture)
    case.answer_box(box)


def click(case, dialog, control_id):
    case.probe.ask("click", case.child(dialog["hwnd"], control_id=control_id)["hwnd"])


def wait_display_start(case):
    """The display start pending since the start-up fires while the tool is open; its answers go
    to the tool, so its reply check finds nothing answered and says so. A run starts after it, so
    that the simulator's log holds the run's requests alone and its reads mark nothing in between."""
    main = case.wait_top("TVRMAINCLASS")
    wait_for("the display start's reply check",
             lambda: any(NO_CONNECTION in line for line in case.message_lines(main)[0]), 10)


def requests(sim):
    return [e for e in sim.log() if e.get("dir") == "in" and "functionCode" in e]


def check_spacing(sent):
    """Consecutive requests are at least the interval apart. The simulator stamps a request when
    it reads it, which on a busy machine can be late: the requests sent during a stall are then
    read at once, and a short gap follows a long one. So a gap may be short only when the gaps
    before it make up for it: every run of requests since the first spans its share of intervals."""
    times = [e["timeUs"] / 1000 for e in sent]
    gaps = [b - a for a, b in zip(times, times[1:])]
    ordered = sorted(gaps)
    print(f"{len(sent)} requests; gaps: least {ordered[0]:.1f} ms, "
          f"median {ordered[len(ordered) // 2]:.1f} ms, most {ordered[-1]:.1f} ms")
    for i, gap in enumerate(gaps):
        if gap >= INTERVAL_MS - JITTER_MS:
            continue
        # A short gap: the run of gaps that ends with it must still span its intervals.
        span, covered = 0.0, False
        for n, earlier in enumerate(reversed(gaps[:i + 1]), start=1):
            span += earlier
            if span >= n * INTERVAL_MS - JITTER_MS:
                covered = True
                break
        check(covered, f"request {i + 1} came {gap:.1f} ms after the one before, and no stall before it explains it")


def case_differences_none(case):
    sim, app, dialog = start_tool(case, "VERSCHILLEN", DIFFERENCES_CAPTION, "VERSCHILLEN", KIND_KEYS)
    directory = case.child(dialog["hwnd"], control_id=DIRECTORY_EDIT)
    check(directory is not None and directory["text"].endswith("\\"), f"directory edit: {directory}")
    before = len(requests(sim))
    click(case, dialog, START_DIFFERENCES)
    answer_box_saying(case, DIFFERENCES_CAPTION, "Er zijn geen verschillen gevonden!", picture="tavir-differences.png")

    # At least the interval apart from the second on (which requests and the file are the unit
    # goldens').
    sent = requests(sim)[before:]
    check(sent, "no request reached the simulator")
    check_spacing(sent)

    # "..." opens the save-as dialog; cancelled, it changes nothing.
    click(case, dialog, CHOOSE_FILE)
    save_as = case.wait_top(DIALOG_CLASS, "Sla Verschillen-file op als:", 20)
    case.probe.ask("close", save_as["hwnd"])
    wait_for("the save-as dialog to close", lambda: case.find_box_gone(save_as["hwnd"]), 10)

    click(case, dialog, IDOK)
    wait_for("the dialog to close", lambda: case.find_box_gone(dialog["hwnd"]), 10)
    ini = (app / "tavir.ini").read_bytes().decode("cp1252")
    check(f"VERSCHILLEN Speed={INTERVAL_MS}" in ini and "VERSCHILLEN File name=verschillen.txt" in ini,
          f"settings after closing: {ini}")


def case_adjustment_single_file(case):
    """VG, GL and clock times over the wire: the clock time 8.45 reaches the simulator as 844 (the
    product is 844.999...). The simulator holds the last VG time at another value, so the
    verification reports it and the adjustment fails. (Which requests go out, in which order and
    with which bytes, and the actions file, are the unit goldens'.)"""
    sim, _, dialog = start_tool(case, "PARAMETERS", ADJUSTMENT_DIALOG, "AANPAS", ("VG-tijden", "GL-tijden", "Klokken"),
                                {"Verify action": 1})
    check(sim.command("hold 320 7 0 47") == "ok", "the simulator refused hold")
    before = len(requests(sim))
    click(case, dialog, START_ADJUSTMENT)
    answer_box_saying(case, ADJUSTMENT_CAPTION, "Fout bij verifi\xebren VG-tijden van SG32\n"
                      "Waarde is  7.00, in regeling 4", picture="tavir-adjustment.png")
    answer_box_saying(case, ADJUSTMENT_CAPTION, "De aanpassing van parameters is niet gelukt", 10)

    check(sim.get(451, 3, 0) == 844, "8.45 did not reach the simulator as 844")
    check_spacing(requests(sim)[before:])


def case_sweep_and_reset(case):
    """VG times from 100 up; the reset writes the originals back. (The order of the Reads and Writes
    and their values are the unit golden's.)"""
    sim, _, dialog = start_tool(case, "AFNAME", SWEEP_CAPTION, "AFNAME", ("VG-tijden",),
                                {"Beginwaarde parameters": 100, "Remind original values": 1})
    originals = {n: sim.get(320, n, 0) for n in range(32)}
    reset_button = case.child(dialog["hwnd"], control_id=RESET_ORIGINALS)
    check(not reset_button["enabled"], "the reset is enabled before a run")
    before = len(requests(sim))
    click(case, dialog, START_SWEEP)
    answer_box_saying(case, SWEEP_CAPTION, "De afname is gereed", picture="tavir-sweep.png")
    sent = requests(sim)[before:]
    writes = [e for e in sent if e["kind"] == "Write"]
    check(writes and sim.get(320, writes[0]["number"], 0) == 100, f"the sweep's first write {writes[:1]}")
    check(wait_for("the reset enabled",
                   lambda: case.child(dialog["hwnd"], control_id=RESET_ORIGINALS)["enabled"], 10), "reset")
    case.probe.ask("click", reset_button["hwnd"])
    answer_box_saying(case, SWEEP_CAPTION, "Het herstellen van de originele instellingen is gereed")
    after = {n: sim.get(320, n, 0) for n in range(32)}
    check(after == originals, f"memory after the reset {after}, before the sweep {originals}")
    check_spacing(sent)
    reset = requests(sim)[before + len(sent):]
    check([e["kind"] for e in reset] == ["Write"] * len(writes), f"the reset sent {reset}")
    check_spacing(reset)


def case_dump_commands(case):
    """The four command bytes, the dump into the file up to "EINDE DUMP", and "Geen reactie" from
    a silent simulator."""
    # The display start's reads are answered into the dump as well; the simulator's monitored
    # values pause while a dump streams, its answers to reads do not. So the commands wait for them.
    sim, app, dialog = start_tool(case, "DPCOM", "DPCOM")
    dump_file = app / "dpcom.dmp"

    def status():
        return case.child(dialog["hwnd"], control_id=DUMP_STATUS)["text"]

    def command(control, letter, sent_status):
        click(case, dialog, control)
        wait_for(f"the command {letter} at the simulator",
                 lambda: any(e.get("kind") == "dumpCommand" and e.get("command") == letter for e in sim.log()), 10)
        wait_for(f"the status after {letter}", lambda: status() in (sent_status, "EINDE DUMP"), 10)

    command(DUMP_VERIFY, "V", "Verifieren verzonden...")
    wait_for("the answer in the file", lambda: b"verbinding in orde\r\n" in dump_file.read_bytes(), 10)
    command(DUMP_MAKE, "M", "Maak dump verzonden...")
    wait_for("the made dump in the file", lambda: b"dump gemaakt:" in dump_file.read_bytes(), 10)
    command(DUMP_FETCH, "O", "Ophalen verzonden...")
    wait_for("the end of the dump", lambda: status() == "EINDE DUMP", 60)
    case.picture("tavir-dump.png")
    # The simulator logs what it sent after sending it: its log may trail the program by a moment.
    def streamed_dump():
        log = sim.log()
        fetched = max(i for i, e in enumerate(log) if e.get("kind") == "dumpCommand" and e.get("command") == "O")
        # Monitored values pause while the dump streams and come again after it.
        streamed = b"".join(bytes.fromhex(e["hex"]) for e in log[fetched:] if e.get("kind") == "dump")
        end = streamed.find(b"\xff\n")
        return streamed[:end + 2] if end >= 0 else None
    streamed = wait_for("the end marker in the simulator's log", streamed_dump, 10)
    stored = dump_file.read_bytes()
    check(streamed.replace(b"\n", b"\r\n") in stored,
          f"the dump file lacks the streamed dump: file ends {stored[-60:]!r}, stream ends {streamed[-60:]!r}")
    command(DUMP_ABORT, "A", "Afbreken verzonden...")
    wait_for("the answer to A", lambda: b"ophalen niet actief\r\n" in dump_file.read_bytes(), 10)

    check(sim.command("pause") == "ok", "the simulator did not pause")
    sent = time.monotonic()
    command(DUMP_VERIFY, "V", "Verifieren verzonden...")
    wait_for("Geen reactie", lambda: status() == "Geen reactie", 20)
    check(time.monotonic() - sent >= 9.5, f"Geen reactie after {time.monotonic() - sent:.1f} s")

    click(case, dialog, DUMP_CLOSE)
    wait_for("the dialog to close", lambda: case.find_box_gone(dialog["hwnd"]), 10)


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
