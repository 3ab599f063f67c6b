#!/usr/bin/env python3
"""tavir-sim.exe, the Windows build of the simulator, under Wine: TAVIR.EXE talks to it over TCP
on loopback. The path of tavir-sim.exe comes in TAVIR_SIM_EXE."""

import os
import queue
import socket
import subprocess
import sys
import threading

import harness
from harness import check, end_process, run, wait_for
from startup_cases import MAIN_CLASS, expect_startup_lines, wine_path


class WindowsSimulator:
    """tavir-sim.exe with a control port; its announced lines are read by a thread of our own, so
    that no wait here hangs on a read."""

    log = harness.Simulator.log

    def __init__(self, case, exe):
        self.log_file = case.work / "sim-exe.jsonl"
        args = ["wine", exe, "--dir", wine_path(case.paths["examples"]), "--log", wine_path(self.log_file),
                "--tcp", "127.0.0.1:0", "--control", "127.0.0.1:0"]
        self.process = subprocess.Popen(args, env=case.wine_env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        self.port = int(self.next_line("listening on ").rsplit(":", 1)[1])
        self.control_port = int(self.next_line("control on ").rsplit(":", 1)[1])

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def next_line(self, prefix, timeout=30):
        try:
            line = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise harness.E2EFailure(f"tavir-sim.exe said nothing within {timeout} s, waiting for '{prefix}'")
        check(line.startswith(prefix), f"tavir-sim.exe said {line!r} instead of '{prefix}...'")
        return line

    def control(self, command):
        with socket.create_connection(("127.0.0.1", self.control_port), timeout=10) as s:
            s.sendall(command.encode() + b"\n")
            return s.makefile().readline().strip()

    def close(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write("quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=10)
            except (BrokenPipeError, subprocess.TimeoutExpired):
                end_process(self.process.pid)


def case_sim_exe_over_tcp(case):
    """The start-up's lines in order, the debugger's requests in tavir-sim.exe's log with their
    answers, a control command answered, and a "quit" on standard input ends it with exit code 0."""
    exe = os.environ.get("TAVIR_SIM_EXE", "")
    check(os.path.exists(exe), f"tavir-sim.exe is missing: {exe!r} (TAVIR_SIM_EXE)")
    sim = WindowsSimulator(case, exe)
    case.sims.append(sim)
    app = case.app_dir()
    program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    expect_startup_lines(case, main, app)

    def answered():
        log = sim.log()
        asked = [e for e in log if e.get("dir") == "in" and e.get("kind") in ("Read", "Monitor")]
        values = [e for e in log if e.get("dir") == "out" and e.get("kind") == "Value"]
        return asked and values and any(e.get("kind") == "connect" for e in log)

    wait_for("the debugger's requests and their answers in tavir-sim.exe's log", answered, 20)
    check(sim.control("get 320 0 0") == "60", "the control port does not answer the VG time of SG02")

    case.probe.ask("close", main["hwnd"])
    check(program.wait_exit() == 1, "the debugger does not end normally")
    sim.process.stdin.write("quit\n")
    sim.process.stdin.flush()
    sim.next_line("ok")
    try:
        code = sim.process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        raise harness.E2EFailure("tavir-sim.exe did not end within 20 s of its quit")
    check(code == 0, f"tavir-sim.exe ended with {code}")


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
