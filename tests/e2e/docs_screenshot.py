#!/usr/bin/env python3
"""Makes the screenshot of docs/screenshots/: TAVIR.EXE after its start on the example
application over TCP to tavir-sim, its first debug window showing live values, in the Wine
desktop. Same options as a case file; the picture goes to ARTIFACTS/tavir-live-values.png."""

import subprocess
import sys
from pathlib import Path

from harness import run, wait_for
from debugwin_cases import controls, wait_current
from startup_cases import MAIN_CLASS

OPTIONS = {}


def case_startup(case):
    sim = case.start_sim()
    app = case.app_dir()
    case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    case.probe.ask("move", main["hwnd"], 40, 30, 760, 520)
    wait_for("the move", lambda: case.find_top(MAIN_CLASS)["rect"] == [40, 30, 800, 550], 10)
    child = wait_current(case, main, "DEBUG_001.TXT")
    wait_for("live values", lambda: any(c["enabled"] for c in controls(case, child).values()
                                        if c["class"] in ("TVREDITITEMCLASS", "TVRCHECKBOXITEMCLASS")), 10)
    shot = case.screenshot(case.work / "root.png")
    target = Path(OPTIONS["artifacts"]) / "tavir-live-values.png"
    target.parent.mkdir(parents=True, exist_ok=True)
    # The Wine desktop is the top left 1024 x 768 of the screen.
    subprocess.run(["convert", str(shot), "-crop", "840x600+0+0", "+repage", str(target)], check=True)
    print(f"screenshot: {target}")


if __name__ == "__main__":
    args = sys.argv[1:]
    if "--artifacts" in args:
        OPTIONS["artifacts"] = args[args.index("--artifacts") + 1]
    run({"startup": case_startup}, args)
