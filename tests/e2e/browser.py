"""Headless Chromium driven through its DevTools protocol over a pipe (--remote-debugging-pipe):
JSON messages ending in a NUL byte, written to the browser's descriptor 3 and read from its 4. Pages
are opened and closed as targets; expressions run in them and give their values."""

import fcntl
import json
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time

from harness import E2EFailure, end_process


class Browser:
    def __init__(self, exe="chromium", width=1000, height=700, flags=()):
        self.profile = tempfile.mkdtemp(prefix="tavir-chromium-")
        to_browser, self._out = os.pipe()
        self._in, from_browser = os.pipe()

        def descriptors():
            # Through copies above both, since either pipe end may itself be descriptor 3 or 4.
            reading, writing = (fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (to_browser, from_browser))
            os.dup2(reading, 3)
            os.dup2(writing, 4)

        self.process = subprocess.Popen(
            [exe, "--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe", "--no-first-run",
             f"--user-data-dir={self.profile}", f"--window-size={width},{height}", *flags, "about:blank"],
            preexec_fn=descriptors, close_fds=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        self._next = 0
        self._answers = {}
        self._arrived = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            chunk = os.read(self._in, 65536)
            if not chunk:
                return
            pending += chunk
            while b"\0" in pending:
                message, pending = pending.split(b"\0", 1)
                data = json.loads(message)
                if "id" in data:
                    with self._arrived:
                        self._answers[data["id"]] = data
                        self._arrived.notify_all()

    def call(self, method, session=None, timeout=20, **params):
        self._next += 1
        message = {"id": self._next, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._out, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        with self._arrived:
            while self._next not in self._answers:
                if not self._arrived.wait(deadline - time.monotonic()):
                    raise E2EFailure(f"the browser did not answer {method}")
            answer = self._answers.pop(self._next)
        if "error" in answer:
            raise E2EFailure(f"{method}: {answer['error']}")
        return answer["result"]

    def open(self, url):
        """A new page at url, in a window of its own so that it is shown; gives (target, session)."""
        target = self.call("Target.createTarget", url=url, newWindow=True)["targetId"]
        session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        return target, session

    def close_page(self, target):
        self.call("Target.closeTarget", targetId=target)

    def evaluate(self, session, expression):
        result = self.call("Runtime.evaluate", session, expression=expression, returnByValue=True, awaitPromise=True)
        return result["result"].get("value")

    def close(self):
        end_process(self.process.pid)
        os.close(self._out)
        shutil.rmtree(self.profile, ignore_errors=True)
