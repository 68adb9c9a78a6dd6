"""The rig-control server as station software meets it: the real program
under the emulated receiver, driven over TCP by hamlib's network client and
by raw connections."""

import os
import signal
import subprocess
import tempfile
import time
import unittest

from receiver_harness import ReceiverHarness, set_frequency
from rig_client import RigConnection, free_port, rigctl, wait_for_server

SERVER = os.environ["VEXA_RIGCTLD"]
RECEIVER_HARNESS = os.environ["VEXA_RECEIVER_HARNESS"]

# The bytes of the oscillator words that the sets below ask for.
OSCILLATOR_28_148_MHZ = "6A BC 84 03"  # dial 14.074 MHz, multiplier 2
OSCILLATOR_14_MHZ = "00 00 C0 01"  # dial 7 MHz, multiplier 2
TRANSFER_TIMEOUT_SECONDS = 5


class RunningServer:
    def __init__(self, *options, plugged=True, harness_options=()):
        self.port = free_port()
        self.folder = tempfile.TemporaryDirectory(prefix="vexa-rigctld-test-")
        self.receiver = ReceiverHarness(
            RECEIVER_HARNESS, [SERVER, "--port", str(self.port), *options], dict(os.environ),
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


class ServerTest(unittest.TestCase):
    def test_hamlib_client_tunes_and_reads_back(self):
        with RunningServer() as server:
            self.assertEqual(rigctl(server.port, "F", "14074000", "f"), "14074000\n")
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ)])
            log = server.receiver.wait_for_line(" dial 14074000 Hz", 5)
            self.assertRegex(log, r"^\S+ 127\.0\.0\.1:\d+ dial 14074000 Hz oscillator "
                                  r"28\.148000 MHz RC=4   Hex=384BC6A$")

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
        with RunningServer() as server, server.connect() as client:
            for line, answer, oscillator in cases:
                with self.subTest(line=line):
                    self.assertEqual(client.ask(line + "\r", len(answer)), answer)
                    expected = [set_frequency(oscillator)] if oscillator else []
                    self.assertEqual(server.receiver.take_transfers(), expected)

    def test_dump_state_range_follows_multiplier_and_offset(self):
        # oscillator = 3 x (dial - 12 kHz): dial 14.086 MHz tunes 42.222 MHz.
        with RunningServer("--multiplier", "3", "--offset", "-12000") as server, \
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
        with RunningServer("--frequency", "7000000", plugged=False) as server, \
                server.connect() as client:
            server.receiver.wait_for_line("--frequency dial 7000000 Hz oscillator 14.000000 MHz"
                                          "  Error: Device not found!", 5)
            self.assertEqual(client.ask("f"), ["0"])
            self.assertEqual(client.ask("F 14074000"), ["RPRT -9"])
            server.receiver.wait_for_line("  Error: Device not found!", 5)
            server.receiver.plug()
            self.assertEqual(client.ask("F 14074000"), ["RPRT 0"])
            server.receiver.set_outcome("stall")
            self.assertEqual(client.ask("F 7000000"), ["RPRT -9"])
            server.receiver.wait_for_line("RC=-9   Hex=1C00000", 5)
            self.assertEqual(client.ask("f"), ["14074000"])
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ), set_frequency(OSCILLATOR_14_MHZ)])

    def test_a_set_in_flight_holds_up_only_its_own_client(self):
        with RunningServer() as server, server.connect() as slow, server.connect() as other:
            server.receiver.set_outcome("timeout")
            slow.send("F 14074000")
            server.receiver.wait_for_transfer(5)
            started = time.monotonic()
            self.assertEqual(other.ask("v"), ["VFOA"])
            self.assertLess(time.monotonic() - started, 1)
            server.receiver.set_outcome("success")
            other.send("F 7000000")  # carried out once the first set is over
            self.assertEqual(slow.read_lines(1, TRANSFER_TIMEOUT_SECONDS + 5), ["RPRT -9"])
            self.assertEqual(other.read_lines(1), ["RPRT 0"])
            self.assertEqual(other.ask("f"), ["7000000"])
            self.assertEqual(server.receiver.take_transfers(),
                             [set_frequency(OSCILLATOR_28_148_MHZ), set_frequency(OSCILLATOR_14_MHZ)])

    def test_bad_clients_are_dropped_alone(self):
        with RunningServer() as server, server.connect() as good:
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
        with RunningServer("--frequency", "14074000") as server:
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

    def test_serial_chooses_the_receiver(self):
        # The second device, a programmer that shares the receiver's IDs, has the serial BT-9.
        second_set = "second request 32 value 0755 index 0000 data " + OSCILLATOR_28_148_MHZ
        receiver_set = set_frequency(OSCILLATOR_28_148_MHZ)
        for serial, answer, receiver_sets, second_sets in [
                ("BT-9", "RPRT 0", [], 1), ("VX-000172", "RPRT 0", [receiver_set], 0),
                ("none", "RPRT -9", [], 0)]:
            with self.subTest(serial=serial), \
                    RunningServer("--serial", serial, harness_options=["--second-device"]) as server, \
                    server.connect() as client:
                self.assertEqual(client.ask("F 14074000"), [answer])
                # Reading the serial numbers asks each device for its strings first.
                sets = [t for t in server.receiver.take_transfers() if t.request == 0x32]
                self.assertEqual(sets, receiver_sets)
                self.assertEqual(sum(line.startswith(second_set)
                                     for line in server.receiver.output()), second_sets)


if __name__ == "__main__":
    unittest.main()
