#!/usr/bin/env python3
"""tavir-cli serve against tavir-sim, looked at through headless Chromium: the index, a window's
values in their places and formats, writes refused and made, one request per item however many
pages show it, and a link that goes down and comes back; tavir-cli.exe under Wine through a runner
(scripts/wine-run) without a browser.

    serve_cases.py --cli tavir-cli --sim tavir-sim --source SOURCE_DIR [--runner RUNNER] CASE
"""

import contextlib
import json
import subprocess
import time
from collections import Counter
import urllib.error
import urllib.request
from pathlib import Path

from browser import Browser
from harness import LineReader, Simulator, check, end_process, run_named_case, wait_for

PATHS = {}

# The window's picture as the terminal view draws it, from the page's own elements: a label at its
# column, a value right-aligned in its width, a checkbox [x] or [ ], an item without a value dots.
SCREEN = """(() => {
  const rows = [];
  for (const e of document.getElementById('grid').children) {
    const row = parseInt(e.style.top) / 20, column = parseInt(e.style.left);
    let text = e.textContent;
    if (e.type === 'checkbox') text = e.disabled ? '[.]' : e.checked ? '[x]' : '[ ]';
    else if (e.classList.contains('item')) {
      const width = parseInt(e.style.width);
      text = e.classList.contains('grey') ? '.'.repeat(width) : e.value.padStart(width);
    }
    const line = (rows[row] || '').padEnd(column);
    rows[row] = line.slice(0, column) + text + line.slice(column + text.length);
  }
  return Array.from(rows, (r) => (r || '').trimEnd()).join('\\n');
})()"""


class Server:
    """tavir-cli serve on a free loopback port; its address comes from its first line."""

    def __init__(self, work, sim, *extra):
        demo = Path(PATHS["source"]) / "examples" / "demo"
        runner = [PATHS["runner"]] if PATHS.get("runner") else []
        self.process = subprocess.Popen(
            [*runner, PATHS["cli"], "serve", "--dir", str(demo), "--port", str(sim.port), "--listen", "127.0.0.1:0",
             *extra], cwd=work, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        line = LineReader(self.process.stdout, "tavir-cli serve").next_line(time.monotonic() + 60, "starting")
        check(line.startswith("serving http://"), f"serve said {line!r}")
        self.url = line.split()[1]
        self.base = self.url.split("#")[0].rstrip("/")

    def request(self, path, method="GET", body=None):
        """The HTTP status of one request, without the token."""
        try:
            with urllib.request.urlopen(urllib.request.Request(self.base + path, body, method=method),
                                        timeout=10) as answer:
                return answer.status
        except urllib.error.HTTPError as error:
            return error.code

    def close(self):
        end_process(self.process.pid)


def sim_requests(sim, kinds=("Read", "Monitor", "Stop", "Write")):
    return [e for e in sim.log() if e.get("dir") == "in" and e.get("kind") in kinds]


def screen(browser, session):
    return browser.evaluate(session, SCREEN) or ""


def wait_screen(browser, session, lines, what, timeout=15):
    wait_for(what, lambda: all(line in screen(browser, session) for line in lines), timeout)


@contextlib.contextmanager
def served(work, *serve_options, sim_extra=()):
    """The simulator, serve on it and a browser; each ends with the case (a simulator the case
    started again in run[0] too)."""
    run = [Simulator(PATHS["sim"], Path(PATHS["source"]) / "examples" / "demo", work / "sim.jsonl",
                     extra=sim_extra)]
    try:
        run += [Server(work, run[0], *serve_options), Browser()]
        yield run
    finally:
        for process in reversed(run):
            process.close()


def case_pages(work):
    """The index lists the example's four windows; a window page shows the simulator's values where
    the terminal view shows them, grey until the first arrives, and a set on the simulator
    appears; the timeline draws every group. Read-only, a write is refused with 403 and nothing
    reaches the simulator."""
    with served(work, sim_extra=("--delay", "600")) as (sim, server, browser):
        for change in ("384 0 1 77", "420 0 0 1", "420 1 0 0"):
            check(sim.command(f"set {change}") == "ok", f"set {change}")
        _, index = browser.open(server.base + "/")
        names = lambda: browser.evaluate(index, "[...document.querySelectorAll('#windows > li')]"
                                                ".map((e) => e.firstChild.textContent.split(' ')[0])")
        wait_for("the index", lambda: names() == [f"DEBUG_00{n}.TXT" for n in range(1, 5)], 10)
        _, page = browser.open(server.base + "/window/3")
        wait_for("the grey items", lambda: "SCH_KNIPPEREN       [.]" in screen(browser, page), 10, 0.05)
        wait_screen(browser, page, [" SG02  SG05    77", "SCH_KNIPPEREN       [x]", "SCH_FIETS_DUBBEL    [ ]"],
                    "the simulator's values")
        check(sim.command("set 32 0 0 1234") == "ok", "set")
        wait_screen(browser, page, ["EP_CYCLUSTIJD        1234"], "the value set on the simulator")
        _, timeline = browser.open(server.base + "/timeline")
        rows = "[...document.querySelectorAll('#timeline svg text')].map((e) => e.textContent).join(' ')"
        wait_for("the timeline's groups", lambda: all(f"SG{g}" in (browser.evaluate(timeline, rows) or "")
                                                      for g in ("02", "05", "08", "11", "22", "26", "31", "32")), 10)
        writes = len(sim_requests(sim, ("Write",)))
        check(server.request("/api/write/3/1", "POST", b"5") == 403, "a read-only write was not refused")
        time.sleep(0.3)
        check(len(sim_requests(sim, ("Write",))) == writes, "a refused write reached the simulator")


def case_write(work):
    """With --allow-write and the token, Enter in a field writes as the debugger does (Write, then
    Read) and the audit log keeps it; without the token the write is refused."""
    token = "0123456789abcdef0123"
    (work / "token").write_text(token + "\n")
    with served(work, "--allow-write", "--token-file", str(work / "token"), "--audit",
                str(work / "audit.jsonl")) as (sim, server, browser):
        check(server.url.endswith("#token=" + token), f"serve's address {server.url}")
        check(server.request("/api/write/3/1", "POST", b"5") == 401, "a write without the token")
        _, page = browser.open(server.url.replace("/#", "/window/3#"))
        wait_screen(browser, page, ["EP_CYCLUSTIJD"], "the window")
        wait_for("a value", lambda: "....." not in screen(browser, page), 10)
        mark = len(sim_requests(sim))
        # The field of EP_CYCLUSTIJD: the item at row 10, column 20.
        browser.evaluate(page, """(() => {
          const field = [...document.querySelectorAll('#grid input')]
            .find((e) => e.style.top === '200px' && e.style.left === '20ch');
          field.value = '321';
          field.dispatchEvent(new Event('input'));
          field.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter'}));
        })()""")
        wait_for("the Write and the Read", lambda: len(sim_requests(sim)) >= mark + 2, 10)
        sent = [(e["kind"], e["functionCode"], e["number"], e["value"]) for e in sim_requests(sim)[mark:mark + 2]]
        check(sent[0] == ("Write", 32, 0, 321) and sent[1][:3] == ("Read", 32, 0), f"sent {sent}")
        check(sim.get(32, 0, 0) == 321, "the simulator holds the written value")
        wait_screen(browser, page, ["EP_CYCLUSTIJD         321"], "the written value")
        audit = (work / "audit.jsonl").read_text()
        check('"functionCode":32' in audit and '"new":321' in audit and '"address":"127.0.0.1"' in audit,
              f"audit log {audit}")


def case_shared(work):
    """Two pages of one window and one of another: one Read and one Monitor per item; the items
    are stopped only when the last page that shows them closes."""
    with served(work) as (sim, server, browser):
        first, page = browser.open(server.base + "/window/3")
        second, _ = browser.open(server.base + "/window/3")
        browser.open(server.base + "/window/1")
        wait_screen(browser, page, ["EP_CYCLUSTIJD"], "the window")
        time.sleep(1.5)
        counts = Counter((e["kind"], e["functionCode"], e["number"], e["block"])
                         for e in sim_requests(sim, ("Read", "Monitor")))
        check(counts and set(counts.values()) == {1}, f"requests per item {counts}")
        browser.close_page(first)
        time.sleep(3)
        check(not sim_requests(sim, ("Stop",)), "a Stop while a page still shows the item")
        browser.close_page(second)
        fourth = {k[1:] for k in counts if k[0] == "Monitor" and k[1] in (32, 33, 34, 384, 420, 417, 450, 451)}
        wait_for("a Stop for each item of the window",
                 lambda: {(e["functionCode"], e["number"], e["block"]) for e in sim_requests(sim, ("Stop",))}
                 == fourth, 15)


def case_link_restored(work):
    """The simulator ends: the pages show the banner; it starts again on its port: the values return."""
    with served(work) as run:
        sim, server, browser = run
        _, page = browser.open(server.base + "/window/3")
        wait_for("a value", lambda: "SG02  SG05" in screen(browser, page) and "....." not in screen(browser, page))
        sim.close()
        banner = "(() => { const b = document.getElementById('banner'); return b.hidden ? '' : b.textContent; })()"
        wait_for("the banner", lambda: browser.evaluate(page, banner) == "Er is geen verbinding aanwezig.", 15)
        run[0] = Simulator(PATHS["sim"], Path(PATHS["source"]) / "examples" / "demo", work / "sim2.jsonl",
                           tcp=f"127.0.0.1:{sim.port}")
        check(run[0].command("set 32 0 0 4321") == "ok", "set")
        wait_screen(browser, page, ["EP_CYCLUSTIJD        4321"], "the values after the link came back", 30)
        check(browser.evaluate(page, banner) == "", "the banner stayed")


def case_exe_pages(work):
    """tavir-cli.exe: the index names the four windows, a window page comes with its layout, and its
    event stream brings the simulator's value of EP_CYCLUSTIJD (item 11 of DEBUG_004.TXT)."""
    sim = Simulator(PATHS["sim"], Path(PATHS["source"]) / "examples" / "demo", work / "sim.jsonl")
    server = Server(work, sim)
    try:
        check(sim.command("set 32 0 0 1234") == "ok", "set")
        index = json.load(urllib.request.urlopen(server.base + "/api/index", timeout=10))
        check([w["name"] for w in index["windows"]] == [f"DEBUG_00{n}.TXT" for n in range(1, 5)], f"index {index}")
        check(b'src="/serve.js"' in urllib.request.urlopen(server.base + "/window/3", timeout=10).read(), "page")
        layout = json.load(urllib.request.urlopen(server.base + "/api/window/3", timeout=10))
        check(layout["name"] == "DEBUG_004.TXT" and [11, 20, 10] == layout["items"][11][:3], f"layout {layout}")
        with urllib.request.urlopen(server.base + "/api/events/3", timeout=10) as events:
            wait_for("the value", lambda: b'"i":11,"t":"1234"' in events.read1(65536), 10, 0)
    finally:
        server.close()
        sim.close()


CASES = {f.__name__[5:]: f for f in (case_pages, case_write, case_shared, case_link_restored, case_exe_pages)}

if __name__ == "__main__":
    run_named_case(CASES, PATHS, "tavir-serve-")
