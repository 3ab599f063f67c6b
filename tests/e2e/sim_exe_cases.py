#!/usr/bin/env python3
"""tavir-sim.exe, the Windows build of the simulator, under Wine: TAVIR.EXE talks to it over TCP
on loopback. The path of tavir-sim.exe comes in TAVIR_SIM_EXE."""

import os
import socket
import subprocess
import sys
import time

import harness
from harness import check, run, wait_for
from startup_cases import MAIN_CLASS, expect_startup_lines, wine_path


def case_sim_exe_over_tcp(case):
    """The start-up's lines in order, the debugger's requests in tavir-sim.exe's log with their
    answers, a control command answered, and a "quit" on standard input ends it with exit code 0."""
    exe = os.environ.get("TAVIR_SIM_EXE", "")
    check(os.path.exists(exe), f"tavir-sim.exe is missing: {exe!r} (TAVIR_SIM_EXE)")
    sim = harness.Simulator(exe, case.paths["examples"], case.work / "sim-exe.jsonl", runner=["wine"],
                            path=wine_path, env=case.wine_env, extra=["--control", "127.0.0.1:0"])
    case.sims.append(sim)
    control_port = int(sim.output.next_line(time.monotonic() + 30, "telling its control port").rsplit(":", 1)[1])
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
    with socket.create_connection(("127.0.0.1", control_port), timeout=10) as control:
        control.sendall(b"get 320 0 0\n")
        check(control.makefile().readline().strip() == "60", "the control port does not answer the VG time of SG02")

    case.probe.ask("close", main["hwnd"])
    check(program.wait_exit() == 1, "the debugger does not end normally")
    check(sim.command("quit", timeout=20) == "ok", "tavir-sim.exe did not answer its quit")
    try:
        code = sim.process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        raise harness.E2EFailure("tavir-sim.exe did not end within 20 s of its quit")
    check(code == 0, f"tavir-sim.exe ended with {code}")


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
