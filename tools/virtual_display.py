#!/usr/bin/env python3
"""A private X display: Xvfb on a free display number, a private runtime
folder, and a window manager (openbox) on demand. The screenshots, the
end-to-end tests, the benchmarks and the package test all start theirs here.

As a command it runs one program on a display of its own and passes on its
exit status; DISPLAY and XDG_RUNTIME_DIR tell the program where it runs:

  virtual_display.py [--size WIDTHxHEIGHT] [--window-manager] -- COMMAND [ARG...]

The display is handed out only once a client of its own has connected to it,
and that client stays connected until the end. A display whose last client
leaves resets itself, and a program that connects during the reset is turned
away ("cannot open the display"); -noreset and the held connection both keep
that from happening between the short-lived programs of a benchmark or a
test. What a reset did besides, a window manager that has left takes along:
the root window gets back the properties it had at the start.
"""

import argparse
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

STARTUP_SECONDS = 30
_POLL_SECONDS = 0.02


def _wait_until(condition, what, log):
    deadline = time.monotonic() + STARTUP_SECONDS
    while not condition():
        if time.monotonic() >= deadline:
            raise RuntimeError(f"gave up after {STARTUP_SECONDS} s waiting for {what}: {log()}")
        time.sleep(_POLL_SECONDS)


def _connect(number):
    """A connection to display :number that the server has accepted, or
    None while it does not accept one."""
    path = f"/tmp/.X11-unix/X{number}"
    for address in (path, "\0" + path):  # the file, then the abstract name
        client = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        try:
            client.connect(address)
            # Connection setup: byte order, protocol 11.0, no authorisation.
            client.sendall(struct.pack("<cxHHHHxx", b"l", 11, 0, 0, 0))
            status, _, _, _, words = struct.unpack("<BBHHH", client.recv(8, socket.MSG_WAITALL))
            client.recv(4 * words, socket.MSG_WAITALL)  # the server's description
            if status == 1:
                return client
        except OSError:
            pass
        client.close()
    return None


class VirtualDisplay:
    def __init__(self, width=1024, height=768):
        self._size = f"{width}x{height}x24"
        self._xvfb = None
        self._client = None
        self._window_manager = None
        self.home = None
        self.env = None

    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="vexa-display-")
        os.chmod(self.home, 0o700)
        self._logs = open(os.path.join(self.home, "x.log"), "w")
        try:
            self._start_server()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _start_server(self):
        reading, writing = os.pipe()
        # -displayfd: the server takes a free display and says which.
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writing), "-screen", "0", self._size,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[writing], stdout=self._logs, stderr=self._logs)
        os.close(writing)
        with os.fdopen(reading) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError(f"Xvfb did not start: {self._log_text()}")

        def connected():
            if self._xvfb.poll() is not None:
                raise RuntimeError(f"Xvfb ended with {self._xvfb.returncode}: {self._log_text()}")
            self._client = _connect(number)
            return self._client is not None
        _wait_until(connected, f"display :{number} to take a client", self._log_text)
        self.env = dict(os.environ,
                        DISPLAY=":" + number,
                        XDG_RUNTIME_DIR=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        self._first_root_properties = self._root_properties()

    def __exit__(self, *exc):
        self.stop_window_manager()
        if self._client:
            self._client.close()
            self._client = None
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
        _wait_until(self._window_manager_ready, "openbox to manage the screen", self._log_text)

    def stop_window_manager(self):
        if self._window_manager:
            self._window_manager.terminate()
            self._window_manager.wait()
            self._window_manager = None
            # The next window must not be framed by a manager that is leaving,
            # nor see what it announced on the root window.
            _wait_until(lambda: not self._window_manager_ready(), "openbox to leave the screen",
                        self._log_text)
            for name in self._root_properties() - self._first_root_properties:
                self.run("xprop", "-root", "-remove", name)

    def _window_manager_ready(self):
        """True while a window manager's check window exists (EWMH)."""
        if self._window_manager and self._window_manager.poll() is not None:
            server = self._xvfb.poll()
            raise RuntimeError(f"openbox ended at its start; Xvfb "
                               f"{'runs' if server is None else f'ended with {server}'}: "
                               f"{self._log_text()}")
        found = re.search(r"window id # (0x[0-9a-f]+)",
                          self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        return found is not None and subprocess.run(
            ["xprop", "-id", found[1], "_NET_SUPPORTING_WM_CHECK"], env=self.env,
            capture_output=True).returncode == 0

    def _root_properties(self):
        return set(re.findall(r"^(\w+)", self.run("xprop", "-root"), re.MULTILINE))

    def _log_text(self):
        self._logs.flush()
        with open(self._logs.name) as written:
            return written.read()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--size", default="1024x768", help="WIDTHxHEIGHT in pixels")
    parser.add_argument("--window-manager", action="store_true", help="start openbox first")
    parser.add_argument("command", nargs=argparse.REMAINDER, help="-- COMMAND [ARG...]")
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    if not command:
        parser.error("no command to run")
    width, height = map(int, options.size.split("x"))
    # Ended from outside (a test's time-out), it still takes its display down.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    with VirtualDisplay(width, height) as display:
        if options.window_manager:
            display.start_window_manager()
        return subprocess.run(command, env=display.env).returncode


if __name__ == "__main__":
    sys.exit(main())
