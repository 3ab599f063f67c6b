"""The end-to-end harness: Xvfb and one Wine prefix with a virtual desktop per test run,
tavir-sim on a free loopback port or a pseudo-terminal, TAVIR.EXE, and the probe that reads
and drives the windows inside the desktop.

Every wait polls a condition until a deadline, and every read of another process's output waits
with a deadline too, so that a hung program fails its case with a message naming it; nothing relies
on a sleep alone. Every process a case starts is ended by its own id when the case ends.
"""

import argparse
import json
import os
import queue
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

DESKTOP_SIZE = "1024x768"
# Wine's MessageBox keeps its text in a static control; its buttons are ordinary buttons.
DIALOG_CLASS = "#32770"
IDOK = 1


class E2EFailure(AssertionError):
    pass


class ProcessFailure(E2EFailure):
    """A helper process (the probe, tavir-sim) hung or ended: no later wait can succeed."""


def check(condition, message):
    if not condition:
        raise E2EFailure(message)


def wait_for(what, probe, timeout=20.0, interval=0.1):
    """Calls probe until it gives something other than None or False; fails after timeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = probe()
        except ProcessFailure:
            raise
        except E2EFailure:
            last = None
        if last not in (None, False):
            return last
        if time.monotonic() >= deadline:
            raise E2EFailure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class LineReader:
    """The lines a process writes to a pipe, read by a thread of their own, so that waiting for a
    line can end at a deadline however the process behaves."""

    def __init__(self, pipe, who):
        self.who = who
        self.lines = queue.Queue()
        self.failure = None
        thread = threading.Thread(target=self._read, args=(pipe,), daemon=True)
        thread.start()

    def _read(self, pipe):
        try:
            for line in pipe:
                self.lines.put(line)
        except (OSError, ValueError):
            pass  # the pipe was closed under the thread: the process is being ended
        self.lines.put(None)

    def next_line(self, deadline, waiting_for):
        """The next line; fails once the deadline passes, or when the process has ended. After a
        failure every later read fails too: a late line would answer the wrong question."""
        if self.failure is None:
            try:
                line = self.lines.get(timeout=max(deadline - time.monotonic(), 0))
                if line is not None:
                    return line
                self.failure = f"{self.who} ended while {waiting_for}"
            except queue.Empty:
                self.failure = f"{self.who} hung while {waiting_for}: its time limit passed without a line"
        raise ProcessFailure(self.failure)


def cp1252(text):
    """A text of the program as the probe reports it (the program's texts are CP1252 bytes)."""
    return text.encode("latin-1").decode("cp1252") if isinstance(text, str) else text.decode("cp1252")


# ---------------------------------------------------------------------------------------------
# The environment of one run: Xvfb, the Wine prefix and its server. Made by `e2e_env.py up`,
# ended by `e2e_env.py down`; the cases find it through the state file.


class Environment:
    def __init__(self, state_file):
        self.state_file = Path(state_file)
        self.state = json.loads(self.state_file.read_text()) if self.state_file.exists() else {}

    @property
    def display(self):
        return self.state["display"]

    @property
    def prefix(self):
        return Path(self.state["prefix"])

    def wine_env(self):
        env = dict(os.environ)
        env["WINEPREFIX"] = str(self.prefix)
        env["WINEDEBUG"] = "-all"
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
        env["DISPLAY"] = self.display
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def up(self, work_dir):
        work_dir = Path(work_dir)
        work_dir.mkdir(parents=True, exist_ok=True)
        self.down()
        prefix = work_dir / "wineprefix"
        shutil.rmtree(prefix, ignore_errors=True)
        # Xvfb picks a free display itself and tells it on a pipe.
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write_fd)
        self.state = {"xvfb": xvfb.pid}
        self.save()
        number = b""
        deadline = time.monotonic() + 30
        with os.fdopen(read_fd, "rb", buffering=0) as pipe:
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([pipe], [], [], max(deadline - time.monotonic(), 0))
                check(ready, "Xvfb hung: it gave no display number within 30 s")
                chunk = pipe.read(64)
                check(chunk, "Xvfb ended at its start")
                number += chunk
        number = number.decode().strip()
        check(number.isdigit(), f"Xvfb gave no display number but {number!r}")
        self.state.update({"display": f":{number}", "prefix": str(prefix)})
        self.save()
        env = self.wine_env()
        # Made anew for every run (about 15 s), as every prefix of ours: COM1 to COM4 lead nowhere,
        # in the registry too, and the title-bar buttons have their font.
        run_bounded([str(Path(__file__).parents[2] / "scripts" / "wine-prefix")], env, 300)
        check((prefix / "tavir-prefix-ready").is_file(), f"scripts/wine-prefix did not make the Wine prefix {prefix}")
        # A server that stays for the whole run: its services start once, so the COM mapping below
        # is not rewritten by them later.
        server = subprocess.Popen(["wineserver", "-f", "-p"], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, start_new_session=True)
        self.state["wineserver"] = server.pid
        self.save()
        registry = work_dir / "desktop.reg"
        # Every program runs inside one virtual desktop: without a window manager Wine draws no
        # title bars and pauses whenever a top-level window is hidden.
        registry.write_text(
            "REGEDIT4\n\n"
            "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n\"Desktop\"=\"Default\"\n\n"
            f"[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n\"Default\"=\"{DESKTOP_SIZE}\"\n\n"
            "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\"ForegroundLockTimeout\"=dword:00000000\n\n"
            # A program that crashes ends at once, instead of leaving Wine's crash dialog for the
            # next case to find.
            "[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n\"ShowCrashDialog\"=dword:00000000\n")
        run_bounded(["wine", "regedit", str(registry)], env, 120)
        # No test may reach a serial port of the machine: COM1 to COM4 lead nowhere until a case
        # maps one to a pseudo-terminal of its own.
        for port in range(1, 5):
            self.map_com_port(port, None)

    def map_com_port(self, port, device):
        """Maps COMn to device, or to nothing. Wine opens the machine's own /dev/ttyS(n-1) for a
        COM name whose link is missing or leads to a path that does not exist, so "nothing" is a
        directory of the prefix: opening it as a port fails."""
        link = self.prefix / "dosdevices" / f"com{port}"
        if link.is_symlink() or link.exists():
            link.unlink()
        nowhere = self.prefix / "no-serial-port"
        nowhere.mkdir(exist_ok=True)
        link.symlink_to(device if device else nowhere)

    def down(self):
        if self.state.get("wineserver"):
            # The server of our own prefix ends its Wine processes (the services too) and itself.
            subprocess.run(["wineserver", "-k"], env=self.wine_env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
        for key in ("wineserver", "xvfb"):
            pid = self.state.get(key)
            if pid:
                end_process(pid)
        if self.state_file.exists():
            self.state_file.unlink()
        self.state = {}

    def save(self):
        self.state_file.parent.mkdir(parents=True, exist_ok=True)
        self.state_file.write_text(json.dumps(self.state))


def run_bounded(args, env, timeout):
    """Runs one set-up command to its end; fails with its name when it hangs."""
    try:
        subprocess.run(args, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise E2EFailure(f"{' '.join(args)} hung: it did not end within {timeout} s") from None


def quit_process(process, timeout):
    """Asks a helper that reads commands on its standard input to quit; ends it when it does not."""
    if process.poll() is None:
        try:
            process.stdin.write("quit\n")
            process.stdin.flush()
            process.wait(timeout=timeout)
        except (BrokenPipeError, subprocess.TimeoutExpired):
            end_process(process.pid)


def end_process(pid, timeout=10.0):
    """Ends one process we started, by its id: politely first."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                finished, _ = os.waitpid(pid, os.WNOHANG)
                if finished == pid:
                    return
            except ChildProcessError:
                # Not our child (started by an earlier step): look whether it still exists.
                try:
                    os.kill(pid, 0)
                except ProcessLookupError:
                    return
            time.sleep(0.05)


# ---------------------------------------------------------------------------------------------
# One case: the probe, tavir-sim and TAVIR.EXE, all ended when the case ends.


class Probe:
    # The probe answers from inside the desktop at once; the first answer waits for Wine to start it.
    ANSWER_TIMEOUT = 30.0

    def __init__(self, env, probe_exe):
        self.process = subprocess.Popen(["wine", str(probe_exe)], env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                        encoding="utf-8", cwd=str(Path(probe_exe).parent))
        self.output = LineReader(self.process.stdout, "the probe")

    def ask(self, *words):
        line = " ".join(str(w) for w in words)
        try:
            self.process.stdin.write(line + "\n")
            self.process.stdin.flush()
        except BrokenPipeError:
            raise ProcessFailure(f"the probe ended before it was asked '{line}'") from None
        answer = self.output.next_line(time.monotonic() + self.ANSWER_TIMEOUT, f"answering '{line}'")
        return json.loads(answer)

    def close(self):
        quit_process(self.process, 10)


class Simulator:
    """tavir-sim (or, with a runner such as wine, another build of it and its paths as the runner
    names them) on a free loopback port, and a pseudo-terminal when asked."""

    def __init__(self, sim_exe, app_dir, log_file, pty=False, extra=(), runner=(), path=str, env=None, fleet=1,
                 tcp="127.0.0.1:0"):
        args = [*runner, str(sim_exe), "--dir", path(app_dir), "--log", path(log_file), "--tcp", tcp]
        if pty:
            args.append("--pty")
        args += list(extra)
        self.log_file = Path(log_file)
        self.process = subprocess.Popen(args, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, env=env)
        self.output = LineReader(self.process.stdout, "tavir-sim")
        self.port = None
        self.ports = []  # with --fleet, one per controller
        self.pty = None
        deadline = time.monotonic() + 30
        wanted = "its port and pseudo-terminal" if pty else "its port"
        try:
            while len(self.ports) < fleet or (pty and self.pty is None):
                line = self.output.next_line(deadline, f"starting (before it gave {wanted})")
                if line.startswith("listening on "):
                    self.ports.append(int(line.rsplit(":", 1)[1]))
                    self.port = self.ports[0]
                elif line.startswith("pty "):
                    self.pty = line.split(" ", 1)[1].strip()
        except E2EFailure:
            # Not yet among the case's processes: end it here.
            end_process(self.process.pid)
            raise

    def log(self):
        if not self.log_file.exists():
            return []
        entries = []
        for line in self.log_file.read_text().splitlines():
            try:
                entries.append(json.loads(line))
            except json.JSONDecodeError:
                pass  # a line being written
        return entries

    def command(self, line, timeout=10, is_reply=lambda r: r == "ok" or r.startswith("error")):
        """One control command on tavir-sim's standard input; gives its one-line reply."""
        try:
            self.process.stdin.write(line + "\n")
            self.process.stdin.flush()
        except BrokenPipeError:
            raise ProcessFailure(f"tavir-sim ended before it was given '{line}'") from None
        deadline = time.monotonic() + timeout
        while True:
            reply = self.output.next_line(deadline, f"answering '{line}'").strip()
            if is_reply(reply):
                return reply

    def get(self, fc, number, block):
        """The value tavir-sim holds at an address."""
        reply = self.command(f"get {fc} {number} {block}", is_reply=lambda r: True)
        check(reply.lstrip("-").isdigit(), f"tavir-sim answered get with {reply!r}")
        return int(reply)

    def saw(self, kind, count=None):
        """Whether tavir-sim logged an event of kind (count: exactly that many)."""
        seen = sum(e.get("dir") == "event" and e.get("kind") == kind for e in self.log())
        return seen == count if count is not None else seen > 0

    def close(self):
        quit_process(self.process, 5)


class Program:
    """TAVIR.EXE running under Wine; standard output is kept."""

    def __init__(self, env, exe, args, cwd, out_file):
        self.out_file = Path(out_file)
        self._out = open(self.out_file, "wb")
        self.process = subprocess.Popen(["wine", str(exe)] + list(args), env=env, cwd=str(cwd),
                                        stdout=self._out, stderr=subprocess.DEVNULL)

    def output(self):
        self._out.flush()
        return self.out_file.read_bytes().decode("cp1252", errors="replace").replace("\r\n", "\n")

    def wait_exit(self, timeout=20.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EFailure(f"TAVIR.EXE did not end within {timeout:.0f} s")

    def close(self):
        if self.process.poll() is None:
            end_process(self.process.pid)
        self._out.close()


class Case:
    def __init__(self, name, env, paths):
        self.name = name
        self.env = env
        self.paths = paths
        self.work = Path(tempfile.mkdtemp(prefix=f"tavir-e2e-{name}-"))
        self.wine_env = env.wine_env()
        self.probe = None
        self.sims = []
        self.programs = []

    # -- set-up --------------------------------------------------------------------------------

    def app_dir(self, with_example=True, name="app"):
        """A directory of the case's own, with a copy of the example application."""
        directory = self.work / name
        if with_example:
            shutil.copytree(self.paths["examples"], directory)
        else:
            directory.mkdir()
        return directory

    def start_sim(self, pty=False, extra=(), app_dir=None):
        sim = Simulator(self.paths["sim"], app_dir or self.paths["examples"], self.work / f"sim{len(self.sims)}.jsonl", pty,
                        extra)
        self.sims.append(sim)
        return sim

    def start_tavir(self, args, cwd):
        if self.probe is None:
            self.probe = Probe(self.wine_env, self.paths["probe"])
        # Whatever a case asserts about dialogs needs a desktop without the leftovers of another.
        left = [w["text"] for w in self.top_windows() if w["class"] in (DIALOG_CLASS, "TVRMAINCLASS")]
        check(not left, f"windows of an earlier program are still open: {left}")
        program = Program(self.wine_env, self.paths["tavir"], args, cwd, self.work / f"tavir{len(self.programs)}.out")
        self.programs.append(program)
        return program

    def close(self):
        for program in self.programs:
            program.close()
        if self.probe is not None:
            self.probe.close()
        for sim in self.sims:
            sim.close()
        for port in range(1, 5):
            self.env.map_com_port(port, None)

    # -- looking ---------------------------------------------------------------------------------

    def top_windows(self):
        return [w for w in self.probe.ask("top")["windows"] if w["visible"]]

    def find_top(self, cls=None, text=None):
        return next((w for w in self.top_windows() if cls in (None, w["class"]) and text in (None, w["text"])), None)

    def wait_top(self, cls=None, text=None, timeout=20.0):
        return wait_for(f"a window of class {cls} titled {text}", lambda: self.find_top(cls, text), timeout)

    def children(self, hwnd):
        answer = self.probe.ask("children", hwnd)
        check(answer["ok"], f"window {hwnd} is gone")
        return answer["windows"]

    def child(self, hwnd, cls=None, text=None, control_id=None):
        return next((w for w in self.children(hwnd) if (cls is None or w["class"].lower() == cls.lower())
                     and text in (None, w["text"]) and control_id in (None, w["id"])), None)

    def message_lines(self, main):
        """The lines of the message window's list, and which one is selected."""
        box = self.child(main["hwnd"], cls="TVRMSGCLASS")
        check(box is not None, "the debugger window has no message window")
        listbox = self.child(box["hwnd"], cls="ListBox")
        check(listbox is not None, "the message window has no list")
        answer = self.probe.ask("lines", listbox["hwnd"])
        check(answer["ok"], "the list gave no lines")
        return answer["lines"], answer["selected"]

    def message_boxes(self):
        """Every dialog shown: its caption, its texts and its buttons."""
        boxes = []
        for w in self.top_windows():
            if w["class"] != DIALOG_CLASS:
                continue
            kids = self.children(w["hwnd"])
            texts = [k["text"] for k in kids if k["class"].lower() == "static" and k["text"]]
            buttons = {k["text"].replace("&", ""): k for k in kids if k["class"].lower() == "button"}
            boxes.append({"window": w, "caption": w["text"], "texts": texts, "buttons": buttons})
        return boxes

    def wait_box(self, caption=None, timeout=20.0):
        return wait_for(f"a message box '{caption}'",
                        lambda: next((b for b in self.message_boxes() if caption in (None, b["caption"])), None), timeout)

    def answer_box(self, box, button="OK"):
        check(button in box["buttons"], f"box '{box['caption']}' has no button {button}: {list(box['buttons'])}")
        self.probe.ask("click", box["buttons"][button]["hwnd"])
        wait_for(f"box '{box['caption']}' to close", lambda: self.find_box_gone(box["window"]["hwnd"]), 10)

    def find_box_gone(self, hwnd):
        return all(w["hwnd"] != hwnd for w in self.top_windows())

    def click(self, control):
        """A mouse click at the middle of control."""
        left, top, right, bottom = control["rect"]
        self.probe.ask("mouse", (left + right) // 2, (top + bottom) // 2)

    def click_to_focus(self, main, control):
        """Clicks control until it has the focus: a click that comes while a closing box still keeps
        the debugger window disabled is lost."""
        def focused():
            if self.probe.ask("focus", main["hwnd"])["focus"] == control["hwnd"]:
                return True
            if self.find_top(main["class"])["enabled"]:
                self.click(control)
            return False
        wait_for("the focus on the clicked control", focused, 10, interval=0.3)

    def menu(self, hwnd):
        answer = self.probe.ask("menu", hwnd)
        check(answer["ok"], f"the menu could not be read: {answer.get('error')}")
        return answer["items"]

    def picture(self, name, crop=None):
        """A screenshot for the documentation (docs/screenshots/), kept in the run's artifacts folder."""
        if self.paths.get("artifacts"):
            shot = self.screenshot(Path(self.paths["artifacts"]) / name)
            if crop:
                subprocess.run(["convert", str(shot), "-crop", crop, "+repage", str(shot)], check=True, timeout=30)

    def screenshot(self, path):
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-display", self.env.display, "-window", "root", str(path)], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path


def run(cases, argv):
    """Command line of a case file: --state FILE --tavir EXE --probe EXE --sim EXE --examples DIR CASE."""
    import argparse
    parser = argparse.ArgumentParser()
    for option in ("state", "tavir", "probe", "sim", "examples", "artifacts"):
        parser.add_argument(f"--{option}", required=option != "artifacts")
    parser.add_argument("case", choices=sorted(cases))
    options = parser.parse_args(argv)
    env = Environment(options.state)
    check(env.state, "the end-to-end environment is not up (run e2e_env.py up)")
    paths = {"tavir": options.tavir, "probe": options.probe, "sim": options.sim, "examples": options.examples,
             "artifacts": options.artifacts}
    check(Path(options.sim).exists(), f"tavir-sim is missing: {options.sim} (build the native preset first)")
    case = Case(options.case, env, paths)
    started = time.monotonic()
    try:
        cases[options.case](case)
    except Exception:
        if options.artifacts:
            try:
                shot = case.screenshot(Path(options.artifacts) / f"{options.case}-failure.png")
                print(f"screenshot of the failure: {shot}", file=sys.stderr)
            except Exception as error:  # the screenshot is a help, not the result
                print(f"no screenshot: {error}", file=sys.stderr)
        raise
    finally:
        case.close()
        shutil.rmtree(case.work, ignore_errors=True)
    print(f"{options.case}: passed in {time.monotonic() - started:.1f} s")


def run_named_case(cases, paths, prefix, finish=lambda: None):
    """The main function of a file of cases: --cli, --sim, --source, [--runner] and a case's name."""
    parser = argparse.ArgumentParser()
    for option in ("cli", "sim", "source"):
        parser.add_argument(f"--{option}", required=True)
    parser.add_argument("--runner")
    parser.add_argument("case", choices=sorted(cases))
    options = parser.parse_args()
    paths.update(cli=options.cli, sim=options.sim, source=options.source, runner=options.runner)
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix=prefix) as work:
        try:
            cases[options.case](Path(work))
        finally:
            finish()
    print(f"{options.case}: passed in {time.monotonic() - started:.1f} s")
