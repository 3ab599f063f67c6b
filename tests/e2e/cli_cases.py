#!/usr/bin/env python3
"""tavir-cli against tavir-sim over loopback TCP and a pseudo-terminal: the runs' files byte for byte
against the golden files the tool logic writes in the unit tests, the exit codes, the JUnit report's
shape, and a sweep killed half-way and then restored. Native, or tavir-cli.exe under Wine through a
runner (scripts/wine-run) against the native simulator.

    cli_cases.py --cli tavir-cli --sim tavir-sim --source SOURCE_DIR [--runner RUNNER] CASE
"""

import argparse
import csv
import re
import signal
import subprocess
import tempfile
import time
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import Simulator, check, end_process, wait_for

PATHS = {}
INTERVAL = "100"


def cli(*args, cwd, timeout=60):
    """Runs tavir-cli to its end; gives the exit code and standard error."""
    runner = [PATHS["runner"]] if PATHS.get("runner") else []
    done = subprocess.run([*runner, PATHS["cli"], *args], cwd=cwd, capture_output=True, timeout=timeout)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def fixture(name):
    return Path(PATHS["source"]) / "tests" / "fixtures" / "tools" / name


def start_sim(work, app, extra=(), pty=False):
    return Simulator(PATHS["sim"], app, work / "sim.jsonl", pty=pty, extra=extra)


def check_junit(path, tests, failures):
    """The shape the JUnit schema asks for: testsuites > testsuite (name, tests, failures, errors)
    > testcase (classname, name), each with at most one failure or skipped carrying a message."""
    root = ElementTree.parse(path).getroot()
    check(root.tag == "testsuites", f"root element {root.tag}")
    suites = list(root)
    check(len(suites) == 1 and suites[0].tag == "testsuite", "one testsuite")
    suite = suites[0]
    for attribute in ("name", "tests", "failures", "errors", "time"):
        check(attribute in suite.attrib, f"testsuite lacks {attribute}")
    cases = list(suite)
    check(all(c.tag == "testcase" and c.get("classname") and c.get("name") for c in cases), "testcase shape")
    found = sum(1 for c in cases for f in c if f.tag == "failure")
    for c in cases:
        check(len(list(c)) <= 1 and all(f.tag in ("failure", "skipped") and f.get("message") for f in c),
              f"children of {c.attrib}")
    check(int(suite.get("tests")) == len(cases) == tests, f"{len(cases)} cases, tests={suite.get('tests')}")
    check(int(suite.get("failures")) == found == failures, f"{found} failures, failures={suite.get('failures')}")


def case_diff_golden(work):
    """The differences the unit tests' fake controller holds, set in the simulator: the same file."""
    app = fixture("app")
    sim = start_sim(work, app)
    try:
        for change in ("384 0 1 31", "450 0 0 731", "420 1 0 0", "344 0 0 95", "466 0 0 11", "326 1 0 151"):
            check(sim.command(f"set {change}") == "ok", f"set {change}")
        code, err = cli("diff", "--dir", str(app), "--port", str(sim.port), "--interval", INTERVAL,
                        "--kinds", "all", "--out", "verschillen.txt", "--report", "junit", "report.xml", cwd=work)
        check(code == 1, f"exit {code}: {err}")
        check((work / "verschillen.txt").read_bytes() == fixture("verschillen.txt").read_bytes(),
              "verschillen.txt differs from the golden file")
        check_junit(work / "report.xml", tests=31, failures=7)
    finally:
        sim.close()


def case_exit_codes(work):
    """Bad usage and bad files give 2, a link that fails 3 with the file of what was done."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    sim = start_sim(work, demo, extra=("--silent",))
    try:
        with socket_closed_port() as closed:
            rows = [
                ("bad kinds", ["diff", "--dir", str(demo), "--kinds", "VG,XX"], 2),
                ("interval too short", ["diff", "--dir", str(demo), "--interval", "99"], 2),
                ("interval too long", ["adjust", "--dir", str(demo), "--interval", "2001"], 2),
                ("missing application", ["diff", "--dir", str(work / "nowhere")], 2),
                ("unknown option", ["sweep", "--dir", str(demo), "--bogus"], 2),
                ("port that does not open", ["diff", "--dir", str(demo), "--port", str(closed)], 3),
                ("silent controller", ["diff", "--dir", str(demo), "--port", str(sim.port), "--interval", INTERVAL,
                                       "--timeout", "500", "--out", "silent.txt"], 3),
                ("silent controller, dump", ["dump", "--port", str(sim.port), "--timeout", "500"], 3),
                ("silent controller, record", ["record", "--dir", str(demo), "--port", str(sim.port), "--duration", "5",
                                               "--timeout", "500", "--csv", "silent.csv"], 3),
                ("record without a duration", ["record", "--dir", str(demo), "--csv", "none.csv"], 2),
                ("watch of a missing file", ["watch", str(work / "DEBUG_009.TXT"), "--dir", str(demo)], 2),
            ]
            for name, args, expected in rows:
                code, err = cli(*args, cwd=work)
                check(code == expected, f"{name}: exit {code}, not {expected}: {err}")
        check((work / "silent.txt").exists() and (work / "silent.csv").exists(), "a silent run left no file")
    finally:
        sim.close()


class socket_closed_port:
    """A loopback port nobody listens on: bound, then closed."""
    def __enter__(self):
        import socket
        s = socket.socket()
        s.bind(("127.0.0.1", 0))
        self.port = s.getsockname()[1]
        s.close()
        return self.port

    def __exit__(self, *exc):
        return False


def case_sweep_killed_and_restored(work):
    """A sweep killed with SIGKILL half-way, then restored: the memory is as before the sweep."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    sim = start_sim(work, demo)
    addresses = [(fc, n, 0) for fc in (320, 325) for n in range(8)]
    try:
        before = {a: sim.get(*a) for a in addresses}
        journal = work / "journal.jsonl"
        sweep = subprocess.Popen([PATHS["cli"], "sweep", "--dir", str(demo), "--port", str(sim.port),
                                  "--interval", INTERVAL, "--kinds", "VG,GL", "--start", "100",
                                  "--journal", str(journal)], cwd=work, stderr=subprocess.DEVNULL)
        try:
            wait_for("six originals in the journal",
                     lambda: journal.exists() and journal.read_text().count("original") >= 6, 20, interval=0.02)
            sweep.send_signal(signal.SIGKILL)
            sweep.wait(10)
        finally:
            end_process(sweep.pid)
        swept = {a: sim.get(*a) for a in addresses}
        check(swept != before, "the sweep changed nothing before it was killed")
        check(sweep.returncode == -signal.SIGKILL, f"the sweep ended by itself ({sweep.returncode})")
        code, err = cli("restore", "--journal", str(journal), "--port", str(sim.port), "--interval", INTERVAL, cwd=work)
        check(code == 0, f"restore: exit {code}: {err}")
        after = {a: sim.get(*a) for a in addresses}
        check(after == before, f"after the restore {after}, before the sweep {before}")
        check('"restored":false' not in journal.read_text(), "an entry is not marked restored")
    finally:
        sim.close()


def case_pty_and_dump(work):
    """diff over the simulator's pseudo-terminal; dump over TCP up to the end of the dump."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    sim = start_sim(work, demo, pty=True)
    try:
        code, err = cli("diff", "--dir", str(demo), "--serial", sim.pty, "--baud", "9600", "--interval", INTERVAL,
                        "--kinds", "vg,Klokken", "--trace", "trace.txt", cwd=work)
        check(code == 0, f"diff over the pty: exit {code}: {err}")
        check("Er zijn geen verschillen gevonden!" in err, f"stderr: {err}")
        trace = (work / "trace.txt").read_text().splitlines()
        check(trace[0] == "# tavir trace 1" and any(" > " in t for t in trace) and any(" < " in t for t in trace),
              f"trace: {trace[:3]}")
        code, err = cli("dump", "--port", str(sim.port), "--out", "dump.dmp", cwd=work)
        check(code == 0, f"dump: exit {code}: {err}")
        stored = (work / "dump.dmp").read_bytes()
        check(stored.startswith(b"dump gemaakt:") and stored.endswith(b"\xff\r\n"), f"dump file {stored[-40:]!r}")
    finally:
        sim.close()


def stops(sim):
    return sum(e.get("dir") == "in" and e.get("kind") == "Stop" for e in sim.log())


def quick_plan_app(work):
    """The example application with a plan that turns within seconds: one second of green, half a
    second of amber, half a second of clearance."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    app = work / "quick"
    app.mkdir()
    (app / "KVAPDEF.H").write_bytes((demo / "KVAPDEF.H").read_bytes())
    source = (demo / "KVAPTAB.C").read_text(encoding="cp1252")
    number = r"(?:-?[\d.]+|NG)"
    source = re.sub(rf"^(\s*SG\d+,\s*SG\d+,\s*\d,\s*){number}", r"\g<1>0.5", source, flags=re.M)
    # sg, kind, VG, GR, GL, GG: VG and GG one second, GL half a second.
    source = re.sub(rf"^(\s*SG\d+,\s*\d,\s*){number}(,\s*{number},\s*){number}(,\s*){number}",
                    r"\g<1>1.0\g<2>0.5\g<3>1.0", source, flags=re.M)
    head, rest = source.split("const double MG_TIJDEN_tabel", 1)
    table, tail = rest.split("};", 1)
    table = re.sub(rf"^(\s*SG\d+,\s*){number}", r"\g<1>1.0", table, flags=re.M)
    (app / "KVAPTAB.C").write_text(head + "const double MG_TIJDEN_tabel" + table + "};" + tail, encoding="cp1252")
    return app


def case_record_plan(work):
    """A few seconds of the fixed-time plan: groups that turned green, every detector's first value,
    and an SVG that is well-formed XML. (That conflicting groups are never green together is the
    simulator's plan tests'.)"""
    app = quick_plan_app(work)
    sim = start_sim(work, app, extra=("--rate", "0"))
    try:
        code, err = cli("record", "--dir", str(app), "--port", str(sim.port), "--duration", "5",
                        "--csv", "plan.csv", "--svg", "plan.svg", cwd=work)
        check(code == 0, f"record: exit {code}: {err}")
        wait_for("a Stop for each group and detector", lambda: stops(sim) == 8 + 16, 10)
    finally:
        sim.close()
    rows = list(csv.DictReader((work / "plan.csv").open(encoding="cp1252")))
    first = {r["name"] for r in rows if r["kind"] == "D" and float(r["seconds"]) < 1}
    check(len(first) == 16, f"first values of the detectors {sorted(first)}")
    groups = {r["name"] for r in rows if r["kind"] == "SG"}
    turned_green = {r["name"] for r in rows if r["kind"] == "SG" and r["value"] == "1" and float(r["seconds"]) > 0.5}
    check(len(groups) == 8, f"states of {sorted(groups)}")
    check(len(turned_green) >= 2, f"groups that turned green: {sorted(turned_green)}")
    ElementTree.parse(work / "plan.svg")


def case_watch_once(work):
    """watch --once prints the window with the values the simulator holds, set ones included."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    sim = start_sim(work, demo)
    rows = [  # set, the window's line that shows it
        ("384 0 1 77", " SG02  SG05    77"),
        ("384 3 2 0", " SG11  SG08     0"),
        ("420 0 0 1", "SCH_KNIPPEREN       [x]"),
        ("420 1 0 0", "SCH_FIETS_DUBBEL    [ ]"),
        ("32 0 0 1234", "EP_CYCLUSTIJD        1234"),
    ]
    try:
        for change, _ in rows:
            check(sim.command(f"set {change}") == "ok", f"set {change}")
        done = subprocess.run([PATHS["cli"], "watch", str(demo / "DEBUG_004.TXT"), "--port", str(sim.port),
                               "--once", "0.3"], cwd=work, capture_output=True, timeout=30)
        check(done.returncode == 0, f"watch: exit {done.returncode}: {done.stderr!r}")
        shown = done.stdout.decode("utf-8")
        for change, line in rows:
            check(any(l.startswith(line) or line in l for l in shown.splitlines()), f"after set {change}: {shown}")
        check("...." not in shown, f"an item without a value: {shown}")
        monitors = sum(e.get("dir") == "in" and e.get("kind") == "Monitor" for e in sim.log())
        wait_for(f"a Stop for each of the {monitors} items", lambda: stops(sim) == monitors > 0, 10)
    finally:
        sim.close()


CASES = {f.__name__[5:]: f for f in (case_diff_golden, case_exit_codes,
                                      case_sweep_killed_and_restored, case_pty_and_dump,
                                      case_record_plan, case_watch_once)}

if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("cli", "sim", "source"):
        parser.add_argument(f"--{option}", required=True)
    parser.add_argument("--runner")
    parser.add_argument("case", choices=sorted(CASES))
    options = parser.parse_args()
    PATHS.update(cli=options.cli, sim=options.sim, source=options.source, runner=options.runner)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="tavir-cli-") as work:
        CASES[options.case](Path(work))
    print(f"{options.case}: passed in {time.monotonic() - started:.1f} s")
