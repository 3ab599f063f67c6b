#!/usr/bin/env python3
"""Brings the end-to-end environment of one test run up (Xvfb, a fresh Wine prefix with its
server and a virtual desktop, COM1 to COM4 leading nowhere) or down again.

    e2e_env.py up   STATE_FILE WORK_DIR
    e2e_env.py down STATE_FILE
"""

import sys

from harness import Environment


def main(argv):
    if len(argv) >= 3 and argv[0] == "up":
        Environment(argv[1]).up(argv[2])
        return 0
    if len(argv) >= 2 and argv[0] == "down":
        Environment(argv[1]).down()
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
