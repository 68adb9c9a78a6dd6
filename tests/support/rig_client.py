"""Clients of the rig-control server: a raw TCP connection that sends lines
and reads answers, hamlib's own network client (rigctl -m 2, and rigctld -m 2
chained in front of the server), a free port to run the server on, and the
server itself under the emulated receiver."""

import contextlib
import os
import shutil
import socket
import subprocess
import tempfile

from receiver_harness import HarnessedProgram
from waiting import STARTUP_SECONDS, wait_until

ANSWER_SECONDS = 10


def free_port():
    """A TCP port that nothing listens on just now, on both loopbacks. A port
    free on one may be taken on the other: then another one."""
    for _ in range(100):
        with socket.socket(socket.AF_INET6) as probe:
            probe.bind(("::1", 0))
            port = probe.getsockname()[1]
        with socket.socket() as probe:
            try:
                probe.bind(("127.0.0.1", port))
            except OSError:
                continue
        return port
    raise AssertionError("no port free on both loopbacks")


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


def hamlib_program(name):
    program = shutil.which(name)
    if program is None:
        raise AssertionError(f"{name} is missing (Debian: libhamlib-utils)")
    return program


def rigctl(port, *commands, timeout=30):
    """hamlib's network client, model 2 only: connects, runs the commands and
    returns its standard output."""
    done = subprocess.run([hamlib_program("rigctl"), "-m", "2", "-r", f"127.0.0.1:{port}",
                           *commands], capture_output=True, text=True, timeout=timeout,
                          check=True)
    return done.stdout


# What rigctl prints for a call that failed: the call's name, this, and the
# error's text on the last line.
RIGCTL_FAILED = ": error = "


def rigctl_answers(output, commands):
    """What rigctl, reading commands from its standard input ("-"), printed
    for each: it echoes a command on a new line, its words each followed by a
    blank, then prints the values. A failed call is ("refused: TEXT",), a
    command with no echo (rigctl ended before it) None."""
    echoes = []
    position = 0
    for command in commands:
        echo = "\n" + "".join(word + " " for word in command.split())
        at = output.find(echo, position)
        echoes.append(None if at < 0 else (at, at + len(echo)))
        position = at + len(echo) if at >= 0 else position
    found = [echo for echo in echoes if echo] + [(len(output), len(output))]
    answers = []
    for echo in echoes:
        if echo is None:
            answers.append(None)
            continue
        following = next(start for start, _ in found if start > echo[0])
        text = output[echo[1]:following]
        lines = tuple(line.strip() for line in text.splitlines() if line.strip())
        answers.append(("refused: " + lines[-1],) if RIGCTL_FAILED in text else lines)
    return answers


@contextlib.contextmanager
def chained_rigctld(server_port):
    """hamlib's rigctld -m 2 in front of the server, as loggers start their
    own: yields the port its clients connect to."""
    port = free_port()
    chained = subprocess.Popen([hamlib_program("rigctld"), "-m", "2", "-r",
                                f"127.0.0.1:{server_port}", "-T", "127.0.0.1", "-t", str(port)],
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        wait_for_server(port, chained)
        yield port
    finally:
        chained.terminate()
        chained.wait(ANSWER_SECONDS)


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


class RunningServer(HarnessedProgram):
    """The server program with these options on a free port, run by the
    emulated receiver's harness (plugged in or not, with the harness's own
    options), once it takes connections; its standard error in a file."""

    def __init__(self, server, harness, *options, plugged=True, harness_options=()):
        self.port = free_port()
        self.folder = tempfile.TemporaryDirectory(prefix="vexa-rigctld-test-")
        super().__init__(harness, [server, "--port", str(self.port), *options],
                         dict(os.environ), os.path.join(self.folder.name, "server.log"), plugged,
                         harness_options)

    def started(self):
        wait_for_server(self.port, self.receiver.process)

    def stop(self):
        super().stop()
        self.folder.cleanup()

    def connect(self):
        return RigConnection(self.port)
