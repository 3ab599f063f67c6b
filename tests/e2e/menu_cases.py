#!/usr/bin/env python3
"""The debugger window's menu and its About dialog, with TAVIR.EXE on the example application
without debug windows over TCP to tavir-sim; the dialog helpers of the other cases. (Its keys are
debugwin_cases' keys_and_display.)"""

import sys

from harness import check, run, wait_for
from startup_cases import MAIN_CLASS, remove_debug_windows

# Every item of the menu: popup, id, text, state ("" enabled, "grey", "inactive": shown but
# not selectable), as the window has them when it is created. Separators are id 0.
MENU = [
    (0, 40001, "&Openen...\tCtrl+O", ""),
    (0, 40015, "&Sluiten...\tCtrl+S", "grey"),
    (0, 0, "", "sep"),
    (0, 40022, "&Kies Venster...\tCtrl+K", "grey"),
    (0, 0, "", "sep"),
    (0, 40031, "Vo&rig Venster\tPgUp", "grey"),
    (0, 40032, "Vo&lgend Venster\tPgDn", "grey"),
    (0, 0, "", "sep"),
    (0, 40026, "Start DPCOM...", ""),
    (0, 40029, "Start Automatische Afname...", "inactive"),
    (0, 40030, "Start Automatische Parameteraanpassing...", "inactive"),
    (0, 40033, "Start Verschillen met KVAPTAB.C vinden...", "inactive"),
    (0, 0, "", "sep"),
    (0, 40002, "&Afsluiten", ""),
    (1, 40019, "&Stop Weergeven\tF3", "grey"),
    (1, 40018, "&Continu Weergeven\tF5", "grey"),
    (1, 0, "", "sep"),
    (1, 40023, "&Aanzetten normale trace\tF4", "grey"),
    (1, 40024, "&Uitzetten normale trace\tF4", "grey"),
    (1, 0, "", "sep"),
    (1, 40025, "&Dumpen geheugentrace\tF6", "grey"),
    (2, 40021, "&Lettertype...\tCtrl+L", ""),
    (3, 40041, "Debugger &Info...", ""),
]
POPUPS = ["&Venster", "V&ariabelen", "&Instellingen", "&?"]


def start(case):
    sim = case.start_sim()
    app = case.app_dir()
    remove_debug_windows(app)
    program = case.start_tavir(["-IP", "127.0.0.1", "-IPP", str(sim.port)], app)
    main = case.wait_top(MAIN_CLASS)
    # The start-up is over once the last search has written its lines.
    wait_for("the end of the start-up",
             lambda: any("?????_???.DBG" in line for line in case.message_lines(main)[0]), 30)
    return program, main


def item_state(item):
    if item["separator"]:
        return "sep"
    if item["grayed"]:
        return "grey"
    return "inactive" if item["inactive"] else ""


def case_menu_states(case):
    """The menu with its texts, ids, separators and initial states: as the window is created,
    before any child window changes them; and the About dialog, modal. (Where a dialog opens is
    CenterDialog's unit table; the font dialog opens and closes in keys_and_display and layout.)"""
    program, main = start(case)
    items = case.menu(main["hwnd"])
    popups = [i["text"] for i in items if i["popup"] == -1]
    check(popups == POPUPS, f"popups {popups}")
    found = [(i["popup"], 0 if i["separator"] else i["id"], i["text"], item_state(i)) for i in items if i["popup"] >= 0]
    for expected, actual in zip(MENU, found):
        check(expected == actual, f"menu item {actual} instead of {expected}")
    check(len(found) == len(MENU), f"{len(found)} menu items instead of {len(MENU)}")

    case.probe.ask("command", main["hwnd"], 40041)
    about = wait_dialog(case, main, "the About dialog", "Tavir Info")
    check("Versie 5.5" in about["texts"], f"About texts {about['texts']}")
    check(not case.find_top(MAIN_CLASS)["enabled"], "the About dialog is not modal")
    case.answer_box(about, "OK")
    check(case.find_top(MAIN_CLASS)["enabled"], "the debugger window stays disabled")
    check(program.process.poll() is None, "the program ended")


def wait_dialog(case, main, what, title=None):
    """A dialog owned by the debugger window (with the caption title)."""
    return wait_for(what, lambda: next((b for b in case.message_boxes() if b["window"]["owner"] == main["hwnd"]
                                        and title in (None, b["caption"])), None), 10)


def escape(case, box):
    case.probe.ask("keys", "escape")
    wait_for(f"the dialog '{box['caption']}' to close", lambda: case.find_box_gone(box["window"]["hwnd"]), 10)


CASES = {name[5:]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    run(CASES, sys.argv[1:])
