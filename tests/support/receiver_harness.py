"""The emulated receiver's harness as a separate process that runs the real
program: what the receiver got, and the plug, access and outcome commands."""

import re
import subprocess
import threading
from dataclasses import dataclass

from waiting import STARTUP_SECONDS, wait_until

ACK_SECONDS = 10

_REQUEST = re.compile(
    r"request (?P<request>[0-9A-F]{2}) value (?P<value>[0-9A-F]{4}) "
    r"index (?P<index>[0-9A-F]{4}) data(?P<data>( [0-9A-F]{2})*)")


@dataclass(frozen=True)
class Transfer:
    """One control transfer as the receiver got it; len(data) is wLength."""
    request: int
    value: int
    index: int
    data: bytes

    def __repr__(self):
        return (f"request {self.request:02X} value {self.value:04X} index {self.index:04X} "
                f"data {self.data.hex(' ').upper()}")


def set_frequency(data_hex):
    return Transfer(0x32, 0x0755, 0, bytes.fromhex(data_hex))


def set_crystal_frequency(data_hex):
    return Transfer(0x33, 0x0755, 0, bytes.fromhex(data_hex))


def _transfer_in(line):
    match = _REQUEST.match(line)
    if not match:
        return None
    return Transfer(int(match["request"], 16), int(match["value"], 16),
                    int(match["index"], 16), bytes.fromhex(match["data"]))


class ReceiverHarness:
    """Starts `harness [option...] [--unplugged] -- program [argument...]`; the program
    inherits the umockdev preload and sees the emulated receiver. program is
    its path, or a list of the path and its arguments."""

    def __init__(self, harness, program, env, log_path, plugged=True, harness_options=()):
        self._outcome = "success"
        self._lines = []
        self._seen = 0  # lines up to here are taken by take_transfers
        self._ended = False  # the harness closed its output
        self._changed = threading.Condition()
        self._log = open(log_path, "w")
        command = [program] if isinstance(program, str) else list(program)
        args = [harness, *harness_options, *([] if plugged else ["--unplugged"]), "--", *command]
        self.process = subprocess.Popen(args, env=env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self._log,
                                        text=True, bufsize=1)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.log_path = log_path

    def _read(self):
        for line in self.process.stdout:
            with self._changed:
                self._lines.append(line.rstrip("\n"))
                self._changed.notify_all()
        with self._changed:
            self._ended = True
            self._changed.notify_all()

    def program_pid(self):
        """The program's process id, once the harness has started it."""
        children = f"/proc/{self.process.pid}/task/{self.process.pid}/children"

        def started():
            try:
                with open(children) as listed:
                    return listed.read().split()
            except FileNotFoundError:
                return None
        return int(wait_until(started, STARTUP_SECONDS, "the harness to start the program")[0])

    def running(self):
        return self.process.poll() is None

    def _command(self, command, ack):
        with self._changed:
            start = len(self._lines)
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        with self._changed:
            acknowledged = self._changed.wait_for(
                lambda: ack in self._lines[start:] or self._ended, ACK_SECONDS)
            if not acknowledged or ack not in self._lines[start:]:
                raise AssertionError(f"the harness did not acknowledge {command!r}")

    def plug(self):
        self._command("plug", "plugged")

    def unplug(self):
        self._command("unplug", "unplugged")

    def plug_second(self):
        """Plugs in the second device, which shares the receiver's IDs."""
        self._command("plug second", "second plugged")

    def deny_access(self):
        self._command("deny", "access denied")

    def allow_access(self):
        self._command("allow", "access allowed")

    def set_outcome(self, outcome):
        self._command(f"outcome {outcome}", f"outcome {outcome}")
        self._outcome = outcome

    def take_transfers(self):
        """Every transfer the receiver got since the last call. A command
        that changes nothing goes through the same pipe first, so nothing
        the receiver got before this call is still on its way."""
        self._command(f"outcome {self._outcome}", f"outcome {self._outcome}")
        with self._changed:
            fresh = self._lines[self._seen:]
            self._seen = len(self._lines)
        return [t for t in map(_transfer_in, fresh) if t]

    def wait_for_transfer(self, timeout):
        """Waits until the receiver has got a transfer that nobody took yet."""
        def arrived():
            return any(map(_transfer_in, self._lines[self._seen:]))
        with self._changed:
            self._changed.wait_for(lambda: arrived() or self._ended, timeout)
            if not arrived():
                raise AssertionError("the receiver got no transfer")

    def output(self):
        """The lines of the harness's and the program's output so far."""
        with self._changed:
            return list(self._lines)

    def wait_for_line(self, text, timeout):
        """The first line of the harness's or the program's output that
        contains text, once there."""
        def found():
            return next((line for line in self._lines if text in line), None)
        with self._changed:
            self._changed.wait_for(lambda: found() or self._ended, timeout)
            if not found():
                raise AssertionError(f"no line with {text!r} in the output")
            return found()

    def wait_for_exit(self, timeout):
        """The program's exit status, which the harness passes on."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program still runs after {timeout} s") from None

    def stop(self):
        """Ends the program and the harness, asking first, then by signal:
        on SIGTERM the harness ends the program too."""
        for end in (self._quit, self.process.terminate, self.process.kill):
            if not self.running():
                break
            end()
            try:
                self.process.wait(ACK_SECONDS)
            except subprocess.TimeoutExpired:
                pass
        try:
            self.process.stdin.close()
        except BrokenPipeError:
            pass  # the harness ended before it read everything
        self._reader.join()
        self.process.stdout.close()
        self._log.close()

    def _quit(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.flush()
        except BrokenPipeError:
            pass  # it has just ended

    def program_errors(self):
        """What the program and the harness wrote on stderr so far."""
        self._log.flush()
        with open(self.log_path) as written:
            return written.read()
