"""A private X display for one test file: Xvfb on a free display number, a
private runtime folder, and a window manager (openbox) on demand."""

import os
import shutil
import subprocess
import tempfile

from waiting import STARTUP_SECONDS, wait_until


class VirtualDisplay:
    def __init__(self, width=1024, height=768):
        self._size = f"{width}x{height}x24"
        self._window_manager = None
        self._xvfb = None
        self.home = None
        self.env = None

    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="vexa-e2e-")
        os.chmod(self.home, 0o700)
        self._logs = open(os.path.join(self.home, "x.log"), "w")
        reading, writing = os.pipe()
        # -displayfd: the server takes a free display and says which.
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writing), "-screen", "0", self._size,
             "-nolisten", "tcp"],
            pass_fds=[writing], stdout=self._logs, stderr=self._logs)
        os.close(writing)
        with os.fdopen(reading) as announced:
            number = announced.readline().strip()
        if not number:
            log = self._log_text()
            self.__exit__(None, None, None)
            raise RuntimeError(f"Xvfb did not start: {log}")
        self.env = dict(os.environ,
                        DISPLAY=":" + number,
                        XDG_RUNTIME_DIR=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        return self

    def __exit__(self, *exc):
        self.stop_window_manager()
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait()
            self._xvfb = None
        self._logs.close()
        shutil.rmtree(self.home, ignore_errors=True)

    @property
    def name(self):
        return self.env["DISPLAY"]

    def run(self, *args):
        """Runs an X client on this display and returns its output."""
        return subprocess.run(args, env=self.env, check=True, capture_output=True,
                              text=True).stdout

    def start_window_manager(self):
        self._window_manager = subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.env, stdout=self._logs,
            stderr=self._logs)
        wait_until(self._window_manager_ready, STARTUP_SECONDS, "openbox to manage the screen")

    def stop_window_manager(self):
        if self._window_manager:
            self._window_manager.terminate()
            self._window_manager.wait()
            self._window_manager = None
            # The next window must not be framed by a manager that is leaving.
            wait_until(lambda: not self._window_manager_ready(), STARTUP_SECONDS,
                       "openbox to leave the screen")

    def _window_manager_ready(self):
        if self._window_manager and self._window_manager.poll() is not None:
            server = self._xvfb.poll()
            raise RuntimeError(f"openbox ended at its start; Xvfb "
                               f"{'runs' if server is None else f'ended with {server}'}: "
                               f"{self._log_text()}")
        root = self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")
        return "window id" in root

    def _log_text(self):
        self._logs.flush()
        with open(self._logs.name) as written:
            return written.read()
