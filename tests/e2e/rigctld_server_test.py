"""The rig-control server as station software meets it: the real program
under the emulated receiver, driven over TCP by hamlib's network client, by
raw connections and by the exchanges of station programs."""

import concurrent.futures
import contextlib
import os
import signal
import subprocess
import time
import unittest

from receiver_harness import set_frequency
from rig_client import (RigConnection, RunningServer, chained_rigctld, hamlib_program, rigctl,
                        rigctl_answers)
from station_replays import REFUSED, REPLAYS, AnyLines, Block, oscillator_set
from wire_log import WireLog

SERVER = os.environ["VEXA_RIGCTLD"]
RECEIVER_HARNESS = os.environ["VEXA_RECEIVER_HARNESS"]

# The bytes of the oscillator words that the sets below ask for.
OSCILLATOR_28_148_MHZ = "6A BC 84 03"  # dial 14.074 MHz, multiplier 2
OSCILLATOR_14_MHZ = "00 00 C0 01"  # dial 7 MHz, multiplier 2
# The answer to a set that did not reach the receiver: hamlib's client
# reports it and a chained rigctld passes it on at once.
FAILED = "RPRT -9"


def running_server(*options, plugged=True, harness_options=()):
    return RunningServer(SERVER, RECEIVER_HARNESS, *options, plugged=plugged,
                         harness_options=harness_options)


def _answer_read(connection, expected, patience):
    """Reads the answer to a step the way the program reads it."""
    if isinstance(expected, AnyLines):
        connection.read_lines(expected.count, patience)
        return expected
    if isinstance(expected, Block):
        lines = []
        while not lines or not lines[-1].startswith("RPRT"):
            lines += connection.read_lines(1, patience)
        return expected if lines[0] == expected.first else tuple(lines)
    return tuple(connection.read_lines(len(expected), patience))


def _play_on_raw_connections(replay, port):
    """Each step's line and what came back."""
    answers = []
    with contextlib.ExitStack() as connections:
        connection = None
        for step in replay.steps:
            time.sleep(step.after)
            if connection is None or replay.connection_per_step:
                connections.close()
                connection = connections.enter_context(RigConnection(port))
            connection.send(step.send)
            try:
                answers.append(_answer_read(connection, step.answer, replay.patience))
            except (AssertionError, OSError) as failure:
                answers.append(f"no answer within {replay.patience} s: {failure}")
    return answers


def _play_through_hamlib(replay, port):
    """Each call given to hamlib's client at the program's pace, and what the
    client returned."""
    with subprocess.Popen([hamlib_program("rigctl"), "-m", "2", "-r", f"127.0.0.1:{port}",
                           *replay.hamlib_options, "-"], stdin=subprocess.PIPE,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL) as client:
        with client.stdin:
            for step in replay.steps:
                time.sleep(step.after)
                client.stdin.write(step.send.encode() + b"\n")
                client.stdin.flush()
        output = client.stdout.read().decode(errors="replace")
    return rigctl_answers(output, [step.send for step in replay.steps])


def _as_expected(expected, got):
    refused = isinstance(got, tuple) and bool(got) and got[0].startswith(REFUSED)
    if expected is None:
        return got is not None and not refused
    if expected == (REFUSED,):
        return refused
    return got == expected


def play(replay):
    """Plays a program's exchange against a server of its own, through a
    logging proxy; what went otherwise than the program expects, with the
    exchange as it crossed the wire."""
    with running_server(*replay.server_options) as server, contextlib.ExitStack() as stack:
        transfers = server.receiver.take_transfers()  # a --frequency at start
        port = server.port
        if replay.via_chained_rigctld:
            port = stack.enter_context(chained_rigctld(port))
        wire = stack.enter_context(WireLog(port))
        player = _play_through_hamlib if replay.through_hamlib else _play_on_raw_connections
        answers = player(replay, wire.port)
        problems = [f"{step.send!r}: got {got!r}, expected {step.answer!r}"
                    for step, got in zip(replay.steps, answers)
                    if not _as_expected(step.answer, got)]
        transfers += server.receiver.take_transfers()
        tuned = [oscillator_set(hz) for hz in replay.tunes]
        if transfers != tuned:
            problems.append(f"the receiver got {transfers}, expected {tuned}")
        if problems:
            problems.append("on the wire:\n" + wire.transcript())
        return problems


class ServerTest(unittest.TestCase):
    def test_hamlib_client_tunes_and_reads_back(self):
        with running_server() as server:
            self.assertEqual(rigctl(server.port, "F", "14074000", "f"), "14074000\n")
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ)])
            log = server.receiver.wait_for_line(" dial 14074000 Hz", 5)
            self.assertRegex(log, r"^\S+ 127\.0\.0\.1:\d+ dial 14074000 Hz oscillator "
                                  r"28\.148000 MHz RC=4   Hex=384BC6A$")

    def test_a_sets_log_line_comes_before_what_the_next_command_logs(self):
        # The set's answer leaves before its log line is written; the next
        # command waits for that line.
        with running_server() as server, server.connect() as client:
            client.send("F 14074000\nI 14075000")
            self.assertEqual(client.read_lines(2), ["RPRT 0", "RPRT 0"])
            kept = server.receiver.wait_for_line(" VFOB 14075000 Hz kept", 5)
            logged = [line for line in server.receiver.output()
                      if " dial 14074000 Hz " in line or line == kept]
            self.assertEqual(logged[1], kept)

    def test_answers(self):
        # (line sent, answer lines, the oscillator bytes the receiver gets, or None)
        cases = [
            ("F     14074000", ["RPRT 0"], OSCILLATOR_28_148_MHZ),
            ("\\set_freq VFOA 7000000.000000", ["RPRT 0"], OSCILLATOR_14_MHZ),
            ("f", ["7000000"], None),
            ("F -1", ["RPRT -1"], None),
            ("F 600000000", ["RPRT -1"], None),  # 1200 MHz: beyond the 32-bit word
            ("F inf", ["RPRT -1"], None),
            ("F nan", ["RPRT -1"], None),
            ("F 14 MHz", ["RPRT -1"], None),
            ("f", ["7000000"], None),
            ("\\chk_vfo", ["0"], None),
            ("v", ["VFOA"], None),
            ("s", ["0", "VFOA"], None),
            ("m", ["USB", "3000"], None),
            ("M USB 3000", ["RPRT 0"], None),
            ("V VFOA", ["RPRT 0"], None),
            ("S 0 VFOA", ["RPRT 0"], None),
            ("t", ["0"], None),
            ("\\get_powerstat", ["1"], None),
            ("\\set_lock_mode 1", ["RPRT 0"], None),
            ("\\get_lock_mode", ["1", "RPRT 0"], None),
            ("V VFOB", ["RPRT 0"], None),
            ("T 1", ["RPRT -11"], None),
            ("\x00\xff\x01", ["RPRT -11"], None),
        ]
        with running_server() as server, server.connect() as client:
            for line, answer, oscillator in cases:
                with self.subTest(line=line):
                    self.assertEqual(client.ask(line + "\r", len(answer)), answer)
                    expected = [set_frequency(oscillator)] if oscillator else []
                    self.assertEqual(server.receiver.take_transfers(), expected)

    def test_commands_not_available_are_traced_once_and_counted_when_more(self):
        # (lines a connection sends before it quits, the lines about them on standard error)
        cases = [(["f"], 0), (["u SATMODE"], 1), (["u SATMODE", "\\get_level AF"], 2)]
        with running_server() as server:
            for lines, traced in cases:
                with self.subTest(lines=lines), server.connect() as client:
                    for line in lines:
                        client.ask(line)
                    client.send("q")
                    self.assertTrue(client.closed_by_server())
                    address = "127.0.0.1:%d " % client.socket.getsockname()[1]
                    self.assertEqual(server.receiver.program_errors().count(address), traced)

    def test_dump_state_range_follows_multiplier_and_offset(self):
        # oscillator = 3 x (dial - 12 kHz): dial 14.086 MHz tunes 42.222 MHz.
        with running_server("--multiplier", "3", "--offset", "-12000") as server, \
                server.connect() as client:
            state = client.ask("\\dump_state", 22)
            self.assertEqual(state[3].split()[:2], ["12000", "341345333"])
            self.assertEqual(client.ask("F 14086000"), ["RPRT 0"])
            self.assertEqual(server.receiver.take_transfers(), [set_frequency("A0 1A 47 05")])
            self.assertEqual(client.ask("F 11999"), ["RPRT -1"])
            self.assertEqual(client.ask("F 341345333"), ["RPRT 0"])
            self.assertEqual(client.ask("F 341345334"), ["RPRT -1"])
            self.assertEqual(server.receiver.take_transfers(), [set_frequency("FE FF FF 7F")])

    def test_receiver_failures_answer_an_error(self):
        with running_server("--frequency", "7000000", plugged=False) as server, \
                server.connect() as client:
            server.receiver.wait_for_line("--frequency dial 7000000 Hz oscillator 14.000000 MHz"
                                          "  Error: Device not found!", 5)
            self.assertEqual(client.ask("f"), ["0"])
            self.assertEqual(client.ask("F 14074000"), [FAILED])
            server.receiver.wait_for_line("  Error: Device not found!", 5)
            server.receiver.plug()
            self.assertEqual(client.ask("F 14074000"), ["RPRT 0"])
            server.receiver.set_outcome("stall")
            self.assertEqual(client.ask("F 7000000"), [FAILED])
            server.receiver.wait_for_line("RC=-9   Hex=1C00000", 5)
            self.assertEqual(client.ask("f"), ["14074000"])
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ), set_frequency(OSCILLATOR_14_MHZ)])

    def test_a_stalled_receiver_holds_no_client_past_its_patience(self):
        # SDR++ waits 1 s for an answer, WaveLogGate 3 s; a late answer would
        # be read as the answer to the client's next command.
        with running_server() as server, server.connect() as first, server.connect() as other:
            server.receiver.set_outcome("timeout")
            first.send("F 14074000")
            server.receiver.wait_for_transfer(5)
            asked = time.monotonic()
            self.assertEqual(other.ask("v"), ["VFOA"])
            self.assertLess(time.monotonic() - asked, 0.5)
            asked = time.monotonic()
            self.assertEqual(other.ask("F 7000000"), [FAILED])  # waits for the first set
            self.assertLess(time.monotonic() - asked, 2.5)
            self.assertEqual(first.read_lines(1), [FAILED])
            server.receiver.set_outcome("success")
            self.assertEqual(first.ask("F 7000000"), ["RPRT 0"])
            self.assertEqual(other.ask("f"), ["7000000"])
            self.assertEqual(server.receiver.take_transfers(),
                             [oscillator_set(hz) for hz in (14074000, 7000000, 7000000)])

    def test_one_clients_split_never_redirects_anothers_sets(self):
        # WSJT-X with split on and its connection left on VFO B (as hamlib's
        # client leaves it while it sets the split frequency), Gpredict's
        # Doppler on another connection.
        with running_server() as server, server.connect() as wsjtx, server.connect() as gpredict:
            for line in ("V VFOB", "S 1 VFOB", "I 14075500"):
                self.assertEqual(wsjtx.ask(line), ["RPRT 0"])
            self.assertEqual(gpredict.ask("F  145800000"), ["RPRT 0"])
            self.assertEqual(wsjtx.ask("F 14074000"), ["RPRT 0"])  # VFO B's: stored only
            self.assertEqual(gpredict.ask("f"), ["145800000"])
            self.assertEqual(server.receiver.take_transfers(), [oscillator_set(145800000)])

    def test_hamlib_client_reports_a_failure_and_tunes_after_a_replug(self):
        with running_server(plugged=False) as server:
            self.assertIn("Command rejected by the rig", rigctl(server.port, "F", "14074000"))
            server.receiver.plug()
            self.assertEqual(rigctl(server.port, "F", "14074000", "f"), "14074000\n")
            self.assertEqual(server.receiver.take_transfers(), [oscillator_set(14074000)])

    def test_a_chained_rigctld_answers_a_failure_at_once_and_tunes_after_a_replug(self):
        # What loggers start: hamlib's rigctld -m 2 in front, its own client behind.
        with running_server(plugged=False) as server, chained_rigctld(server.port) as port, \
                RigConnection(port) as client:
            for plugged, answer in [(False, FAILED), (True, "RPRT 0")]:
                if plugged:
                    server.receiver.plug()
                asked = time.monotonic()
                self.assertEqual(client.ask("F 14074000"), [answer])
                self.assertLess(time.monotonic() - asked, 2)
            self.assertEqual(server.receiver.take_transfers(), [oscillator_set(14074000)])

    def test_station_programs_exchanges(self):
        # Each with its own pacing, so all at once.
        with concurrent.futures.ThreadPoolExecutor(len(REPLAYS)) as pool:
            outcomes = list(pool.map(play, REPLAYS))
        for replay, problems in zip(REPLAYS, outcomes):
            with self.subTest(replay.program):
                self.assertEqual(problems, [], "\n".join(problems))

    def test_bad_clients_are_dropped_alone(self):
        with running_server() as server, server.connect() as good:
            with server.connect() as long_line:
                long_line.send(b"F " + b"1" * 1100)
                self.assertTrue(long_line.closed_by_server())
            with server.connect() as half_line:
                half_line.send(b"F 1407")  # never ended: nothing is set
            idle = [server.connect() for _ in range(15)]  # with good: the limit of 16
            try:
                with server.connect() as extra:
                    self.assertTrue(extra.closed_by_server())
                self.assertEqual(good.ask("F 14074000"), ["RPRT 0"])
            finally:
                for connection in idle:
                    connection.socket.close()
            with server.connect() as quitting:
                quitting.send("q")
                self.assertTrue(quitting.closed_by_server())
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ)])

    def test_start_and_end(self):
        with running_server("--frequency", "14074000") as server:
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ)])
            with server.connect() as client:
                self.assertEqual(client.ask("f"), ["14074000"])
            taken = subprocess.run([SERVER, "--port", str(server.port)], capture_output=True,
                                   text=True, timeout=30)
            self.assertNotEqual(taken.returncode, 0)
            self.assertIn(f"port {server.port}", taken.stderr)
            os.kill(server.receiver.program_pid(), signal.SIGTERM)
            self.assertEqual(server.receiver.wait_for_exit(10), 0)


if __name__ == "__main__":
    unittest.main()
