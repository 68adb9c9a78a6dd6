"""Clients of the rig-control server: a raw TCP connection that sends lines
and reads answers, hamlib's own network client (rigctl -m 2), a free port to
run the server on, and the server itself under the emulated receiver."""

import os
import shutil
import socket
import subprocess
import tempfile

from receiver_harness import ReceiverHarness
from waiting import STARTUP_SECONDS, wait_until

ANSWER_SECONDS = 10


def free_port():
    """A TCP port that nothing listens on just now, on both loopbacks."""
    with socket.socket(socket.AF_INET6) as probe:
        probe.bind(("::1", 0))
        port = probe.getsockname()[1]
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", port))
    return port


def wait_for_server(port, process=None):
    """Waits until the server on the IPv4 loopback takes connections."""
    def accepts():
        if process is not None and process.poll() is not None:
            raise AssertionError(f"the server ended with {process.returncode}")
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return True
        except OSError:
            return False
    wait_until(accepts, STARTUP_SECONDS, f"the server on port {port}")


def rigctl(port, *commands, timeout=30):
    """hamlib's network client, model 2 only: connects, runs the commands and
    returns its standard output."""
    program = shutil.which("rigctl")
    if program is None:
        raise AssertionError("rigctl is missing (Debian: libhamlib-utils)")
    done = subprocess.run([program, "-m", "2", "-r", f"127.0.0.1:{port}", *commands],
                          capture_output=True, text=True, timeout=timeout, check=True)
    return done.stdout


class RigConnection:
    """One raw connection: lines out, answers in."""

    def __init__(self, port, host="127.0.0.1"):
        self.socket = socket.create_connection((host, port), timeout=ANSWER_SECONDS)
        self.pending = b""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.socket.close()

    def send(self, data):
        self.socket.sendall(data if isinstance(data, bytes) else data.encode() + b"\n")

    def read_lines(self, count, timeout=ANSWER_SECONDS):
        """The next count answer lines, without their line ends."""
        self.socket.settimeout(timeout)
        while self.pending.count(b"\n") < count:
            chunk = self.socket.recv(4096)
            if not chunk:
                raise AssertionError(f"the server closed the connection; got {self.pending!r}")
            self.pending += chunk
        lines = self.pending.split(b"\n")
        self.pending = b"\n".join(lines[count:])
        return [line.decode() for line in lines[:count]]

    def ask(self, line, answer_lines=1):
        self.send(line)
        return self.read_lines(answer_lines)

    def closed_by_server(self, timeout=ANSWER_SECONDS):
        """Whether the server closes the connection, reading what it still sends."""
        self.socket.settimeout(timeout)
        try:
            while chunk := self.socket.recv(4096):
                self.pending += chunk
        except ConnectionResetError:
            pass
        except socket.timeout:
            return False
        return True


class RunningServer:
    """The server program with these options on a free port, run by the
    emulated receiver's harness (plugged in or not, with the harness's own
    options), once it takes connections; its standard error in a file."""

    def __init__(self, server, harness, *options, plugged=True, harness_options=()):
        self.port = free_port()
        self.folder = tempfile.TemporaryDirectory(prefix="vexa-rigctld-test-")
        self.receiver = ReceiverHarness(
            harness, [server, "--port", str(self.port), *options], dict(os.environ),
            os.path.join(self.folder.name, "server.log"), plugged, harness_options)
        try:
            wait_for_server(self.port, self.receiver.process)
        except BaseException:
            self.stop()
            raise

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        self.receiver.stop()
        self.folder.cleanup()

    def connect(self):
        return RigConnection(self.port)
