#!/usr/bin/env python3
"""tavir-cli against tavir-sim over loopback TCP and a pseudo-terminal: the runs' files byte for byte
against the golden files the tool logic writes in the unit tests, the exit codes, the JUnit report's
shape, and a sweep killed half-way and then restored. Native, or tavir-cli.exe under Wine through a
runner (scripts/wine-run) against the native simulator.

    cli_cases.py --cli tavir-cli --sim tavir-sim --source SOURCE_DIR [--runner RUNNER] CASE
"""

import csv
import json
import re
import signal
import socket
import subprocess
import xml.etree.ElementTree as ElementTree
from pathlib import Path

from harness import Simulator, check, end_process, run_named_case, wait_for

PATHS = {}
SIMS = []  # ended by the main function when the case ends
INTERVAL = "100"


def cli(*args, cwd, timeout=60):
    """Runs tavir-cli to its end; gives the exit code and standard error."""
    runner = [PATHS["runner"]] if PATHS.get("runner") else []
    done = subprocess.run([*runner, PATHS["cli"], *args], cwd=cwd, capture_output=True, timeout=timeout)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def fixture(name):
    return Path(PATHS["source"]) / "tests" / "fixtures" / "tools" / name


def demo_dir():
    return Path(PATHS["source"]) / "examples" / "demo"


def start_sim(work, app, extra=(), pty=False):
    SIMS.append(Simulator(PATHS["sim"], app, work / "sim.jsonl", pty=pty, extra=extra))
    return SIMS[-1]


def requests_of(sim, kind):
    return sum(e.get("dir") == "in" and e.get("kind") == kind for e in sim.log())


def check_junit(path, tests, failures):
    """The shape the JUnit schema asks for: testsuites > testsuite (name, tests, failures, errors)
    > testcase (classname, name), each with at most one failure or error carrying a message."""
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
        check(len(list(c)) <= 1 and all(f.tag in ("failure", "error") and f.get("message") for f in c),
              f"children of {c.attrib}")
    check(int(suite.get("tests")) == len(cases) == tests, f"{len(cases)} cases, tests={suite.get('tests')}")
    check(int(suite.get("failures")) == found == failures, f"{found} failures, failures={suite.get('failures')}")


def case_diff_golden(work):
    """The differences the unit tests' fake controller holds, set in the simulator: the same file."""
    app = fixture("app")
    sim = start_sim(work, app)
    for change in ("384 0 1 31", "450 0 0 731", "420 1 0 0", "344 0 0 95", "466 0 0 11", "326 1 0 151"):
        check(sim.command(f"set {change}") == "ok", f"set {change}")
    code, err = cli("diff", "--dir", str(app), "--port", str(sim.port), "--interval", INTERVAL,
                    "--kinds", "all", "--out", "verschillen.txt", "--report", "junit", "report.xml", cwd=work)
    check(code == 1, f"exit {code}: {err}")
    check((work / "verschillen.txt").read_bytes() == fixture("verschillen.txt").read_bytes(),
          "verschillen.txt differs from the golden file")
    check_junit(work / "report.xml", tests=31, failures=7)


def guide_exit_codes():
    """The guide's exit-code table: each code with the text of its row."""
    guide = (Path(PATHS["source"]) / "docs" / "user-guide.md").read_text(encoding="utf-8")
    table = guide.split("Exit codes of every subcommand:", 1)[1].split("\n\n", 2)[1]
    return {int(m.group(1)): m.group(2) for m in re.finditer(r"^\| (\d) \| (.*) \|$", table, re.M)}


def case_exit_codes(work):
    """Each situation of the guide's exit-code table gives the code the guide names for it; nothing is
    sent before a refusal, and a silent run leaves its files. (Restore's refusals of a journal and
    its silent run are the unit tables' of the journal.)"""
    demo = demo_dir()
    no_table, cut_short = work / "no_table", work / "cut_short"
    for app in (no_table, cut_short):
        app.mkdir()
        (app / "KVAPDEF.H").write_bytes((demo / "KVAPDEF.H").read_bytes())
    (cut_short / "KVAPTAB.C").write_bytes((demo / "KVAPTAB.C").read_bytes()[:3000])
    unrestored = work / "unrestored.jsonl"
    unrestored.write_text('{"tavirSweepJournal":2,"dir":"demo","digest":"0","link":"x"}\n'
                          '{"kind":"TIJD","name":"T_KNIPPER","functionCode":34,"number":1,"block":0,'
                          '"original":5,"restored":false}\n')
    sim = start_sim(work, demo, extra=("--silent",))
    link = ("--port", str(sim.port), "--timeout", "300")
    port = (*link, "--interval", INTERVAL)
    rows = [
        ("an unknown kind", ["diff", "--dir", str(demo), "--kinds", "VG,XX"], 2),
        ("an interval out of range", ["diff", "--dir", str(demo), "--interval", "99"], 2),
        ("an interval out of range", ["adjust", "--dir", str(demo), "--interval", "2001"], 2),
        ("an unknown option", ["sweep", "--dir", str(demo), "--bogus"], 2),
        ("a baud rate the line cannot take", ["diff", "--dir", str(demo), "--serial", "/dev/null",
                                              "--baud", "1234"], 2),
        ("a missing application", ["diff", "--dir", str(work / "nowhere")], 2),
        ("a KVAPTAB.C that cannot be read", ["adjust", "--dir", str(no_table), *port], 2),
        ("a KVAPTAB.C that gives no value to a selected entry", ["sweep", "--dir", str(cut_short),
                                                                 *port], 2),
        ("an output that cannot be written", ["diff", "--dir", str(demo), "--report", "junit",
                                              str(work / "nowhere" / "r.xml"), *port], 2),
        ("an output that cannot be written", ["dump", "--out", str(work / "nowhere" / "d.dmp"), *link], 2),
        ("an output that cannot be written", ["diff", "--dir", str(demo), "--trace",
                                              str(work / "nowhere" / "t.txt"), *port], 2),
        ("a journal that still holds originals", ["sweep", "--dir", str(demo), "--journal",
                                                  str(unrestored), *port], 2),
        ("a port that does not open", ["diff", "--dir", str(demo), "--port", str(closed_port())], 3),
        ("a controller that does not answer", ["diff", "--dir", str(demo), *port, "--out", "silent.txt"], 3),
        ("a controller that does not answer", ["dump", *link], 3),
        ("a controller that does not answer", ["record", "--dir", str(demo), "--duration", "5", *link,
                                               "--csv", "silent.csv"], 3),
        ("record without a duration", ["record", "--dir", str(demo), "--csv", "none.csv"], 2),
        ("watch of a missing file", ["watch", str(work / "DEBUG_009.TXT"), "--dir", str(demo)], 2),
    ]
    guide = guide_exit_codes()
    check(sorted(guide) == [0, 1, 2, 3], f"the guide's exit codes {sorted(guide)}")
    for name, args, expected in rows:
        if not name.startswith(("record", "watch")):
            check(name in guide[expected], f"the guide does not name '{name}' under {expected}")
        sent = len(sim.log())
        code, err = cli(*args, cwd=work)
        check(code == expected, f"{name}: exit {code}, not {expected}: {err}")
        refused = expected == 2 and str(sim.port) in args
        check(not refused or len(sim.log()) == sent, f"{name}: a request went out before the refusal")
    check((work / "silent.txt").exists() and (work / "silent.csv").exists(), "a silent run left no file")
    check("geen verschillen" not in (work / "silent.txt").read_text(encoding="cp1252"), "silent.txt")
    check(not (work / "nowhere").exists(), "a refused output was created")


def case_lossy_link(work):
    """A third of the answers lost: each lost one is asked again, the run ends, and it never says it
    found nothing while a field went unanswered. Writes to a full disk fail the run."""
    demo = demo_dir()
    sim = start_sim(work, demo, extra=("--drop", "0.3", "--seed", "7"))
    code, err = cli("diff", "--dir", str(demo), "--port", str(sim.port), "--interval", INTERVAL,
                    "--kinds", "ONT,VG,GL", "--timeout", "300", "--report", "junit", "report.xml", cwd=work)
    check(code in (0, 3) and "link failure" not in err, f"exit {code}: {err}")
    check(any(e.get("dropped") for e in sim.log()), "the simulator lost no answer")
    unanswered = err.count("no answer for")
    check((code == 3) == (unanswered > 0), f"exit {code} with {unanswered} unanswered: {err}")
    check(code == 0 or "geen verschillen" not in err, f"a run with unanswered fields found nothing: {err}")
    root = ElementTree.parse(work / "report.xml").getroot()
    check(int(root[0].get("errors")) == unanswered, f"errors={root[0].get('errors')}, {unanswered} unanswered")
    check(sim.command("set 320 0 0 99") == "ok", "set 320 0 0 99")  # a difference to write
    for args in (["diff", "--kinds", "VG", "--out", "/dev/full"], ["sweep", "--kinds", "TIJD", "--out", "/dev/full"],
                 ["dump", "--out", "/dev/full"]):
        if args[0] != "dump":
            args += ["--dir", str(demo), "--interval", INTERVAL]
        code, err = cli(*args, "--port", str(sim.port), "--timeout", "300", cwd=work)
        check(code == 2 and "/dev/full" in err, f"{args}: exit {code}: {err}")


def closed_port():
    """A loopback port nobody listens on: bound, then closed."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def case_sweep_killed_and_restored(work):
    """A sweep killed with SIGKILL half-way, then restored: the memory is as before the sweep."""
    demo = demo_dir()
    sim = start_sim(work, demo)
    addresses = [(fc, n, 0) for fc in (320, 325) for n in range(8)]
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
    rows = (work / "afname.txt").read_text(encoding="cp1252").count("\n")
    check(rows >= 6, f"the actions file of the killed sweep holds {rows} lines")
    code, err = cli("restore", "--journal", str(journal), "--dir", str(demo), "--port", str(sim.port),
                    "--interval", INTERVAL, cwd=work)
    check(code == 0, f"restore: exit {code}: {err}")
    after = {a: sim.get(*a) for a in addresses}
    check(after == before, f"after the restore {after}, before the sweep {before}")
    check('"restored":false' not in journal.read_text(), "an entry is not marked restored")


def case_pty_and_dump(work):
    """diff over the simulator's pseudo-terminal; dump over TCP up to the end of the dump."""
    demo = demo_dir()
    sim = start_sim(work, demo, pty=True)
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


def quick_plan_app(work):
    """The example application with a plan that turns within seconds: one second of green, half a
    second of amber, half a second of clearance."""
    demo = demo_dir()
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
    and an SVG that is well-formed XML."""
    app = quick_plan_app(work)
    sim = start_sim(work, app, extra=("--rate", "0"))
    code, err = cli("record", "--dir", str(app), "--port", str(sim.port), "--duration", "5",
                    "--csv", "plan.csv", "--svg", "plan.svg", cwd=work)
    check(code == 0, f"record: exit {code}: {err}")
    wait_for("a Stop for each group and detector", lambda: requests_of(sim, "Stop") == 8 + 16, 10)
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
    demo = demo_dir()
    sim = start_sim(work, demo)
    # Set, and the window's line that shows it: a value and a check box (the text each kind of item
    # shows is ItemValueText's unit table).
    rows = [("384 0 1 77", " SG02  SG05    77"), ("420 0 0 1", "SCH_KNIPPEREN       [x]")]
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
    wait_for(f"a Stop for each of the {monitors} items", lambda: requests_of(sim, "Stop") == monitors > 0, 10)


def requests_by_connection(log_file):
    """The frames each connection to a controller of the fleet sent it, with their times (ms)."""
    connections = []
    for entry in map(json.loads, log_file.read_text().splitlines()):
        if entry["dir"] == "event" and entry["kind"] == "connect":
            connections.append([])
        elif entry["dir"] == "in":
            connections[-1].append((entry["hex"], entry["timeUs"] / 1000))
    return connections


def case_audit_fleet(work):
    """A fleet of 20: three controllers with a planted difference, one not reachable. The exit code,
    the summary, the files and the JUnit report; a controller asked exactly as a lone diff asks it
    (the same frames, order and spacing); a shard's JSON report."""
    demo = Path(PATHS["source"]) / "examples" / "demo"
    planted = {3, 8, 15}
    sim = Simulator(PATHS["sim"], demo, work / "logs", fleet=19,
                    extra=("--rate", "0", "--fleet", "19", "--plant", ",".join(map(str, planted))))
    names = [f"K{n:02d}" for n in range(1, 21)]
    links = [f"127.0.0.1:{port}" for port in sim.ports] + [f"127.0.0.1:{closed_port()}"]
    (work / "fleet.csv").write_text("name,link,dir\n" + "".join(f"{n},{l},{demo}\n" for n, l in zip(names, links)))
    pace = ("--interval", INTERVAL, "--kinds", "VG,HIAAT")
    try:
        done = subprocess.run([PATHS["cli"], "audit", "fleet.csv", "--out-dir", "out", "--report", "junit", "audit.xml",
                               *pace], cwd=work, capture_output=True, timeout=60, text=True)
        check(done.returncode == 3, f"audit: exit {done.returncode}: {done.stderr}")
        check(done.stdout.endswith("20 controllers: 16 same, 3 different, 1 unreachable\n"), done.stdout)
        for n, name in enumerate(names[:19], 1):
            differences = (work / "out" / f"{name}.txt").read_text(encoding="cp1252")
            check(("SG02" in differences) == (n in planted), f"{name}.txt: {differences!r}")
        suites = ElementTree.parse(work / "audit.xml").getroot()
        verdicts = {s.get("name"): (s.get("tests"), s.get("failures"), s.get("errors")) for s in suites}
        check(verdicts == {name: ("2", "1" if n in planted else "0", "2" if n == 20 else "0")
                           for n, name in enumerate(names, 1)}, f"JUnit suites {verdicts}")
        code, err = cli("diff", "--dir", str(demo), "--port", str(sim.ports[2]), "--out", "lone.txt", *pace, cwd=work)
        check(code == 1, f"lone diff: exit {code}: {err}")
        check((work / "lone.txt").read_bytes() == (work / "out" / "K03.txt").read_bytes(), "K03.txt differs from diff's")
        audited, lone = requests_by_connection(work / "logs" / "003.jsonl")
        check([f for f, _ in audited] == [f for f, _ in lone], "the audit's frames are not the lone diff's")
        gaps = [(b[1] - a[1], d[1] - c[1]) for a, b, c, d in zip(audited, audited[1:], lone, lone[1:])]
        check(all(abs(g - h) < int(INTERVAL) / 2 for g, h in gaps), f"spacing (audit, lone) in ms: {gaps}")
        code, err = cli("audit", "fleet.csv", "--shard", "2/9", "--report", "json", "shard.json", *pace, cwd=work)
        shard = json.loads((work / "shard.json").read_text())
        check(code == 3 and [(c["name"], c["result"]) for c in shard["controllers"]] ==
              [("K02", "same"), ("K11", "same"), ("K20", "unreachable")], f"shard 2/9: exit {code}: {shard}")
    finally:
        sim.close()


CASES = {f.__name__[5:]: f for f in (case_audit_fleet, case_diff_golden, case_exit_codes, case_lossy_link,
                                      case_sweep_killed_and_restored, case_pty_and_dump,
                                      case_record_plan, case_watch_once)}

if __name__ == "__main__":
    run_named_case(CASES, PATHS, "tavir-cli-", finish=lambda: [sim.close() for sim in SIMS])
