"""The receiver misbehaving under the real program: absent, pulled out,
stalling, timing out, refusing access. Each ends with the right line and a
program that still works."""

import unittest

from accessible_windows import MESSAGE_AREA
from receiver_harness import set_crystal_frequency, set_frequency
from running_program import TIMED_OUT_REPLY_SECONDS, RunningProgram, shared_display

NOT_FOUND = " Error: Device not found!"
TUNED_20_M = ("RC=4   Hex=3800000", [set_frequency("00 00 80 03")])
TUNED_40_M = ("RC=4   Hex=1C00000", [set_frequency("00 00 C0 01")])

# How a transfer ends at the receiver, and the result libusb hands the program.
FAILED_TRANSFERS = [
    ("stall", -9),
    ("io", -1),
    ("nodevice", -4),
]


class FaultsTest(unittest.TestCase):
    def start(self, plugged=True):
        program = RunningProgram(shared_display(), plugged)
        self.addCleanup(program.stop)
        return program

    def test_receiver_plugged_in_after_the_start(self):
        program = self.start(plugged=False)
        self.assertEqual(program.press("20 m"), (NOT_FOUND, []))
        # Wider than the message area, and read from its first character.
        self.assertEqual(program.window.caret(MESSAGE_AREA), 0)
        program.receiver.plug()
        self.assertEqual(program.press("20 m"), TUNED_20_M)

    def test_receiver_pulled_out_between_requests(self):
        program = self.start()
        self.assertEqual(program.press("20 m"), TUNED_20_M)
        program.receiver.unplug()
        self.assertEqual(program.press("40m"), (NOT_FOUND, []))
        program.receiver.plug()
        self.assertEqual(program.press("40m"), TUNED_40_M)

    def test_receiver_pulled_out_during_a_transfer(self):
        program = self.start()
        program.receiver.set_outcome("timeout")  # the receiver holds the transfer

        def press_then_unplug():
            program.window.press("20 m")
            program.receiver.wait_for_transfer(TIMED_OUT_REPLY_SECONDS)
            program.receiver.unplug()
        self.assertEqual(program.act(press_then_unplug),
                         ("RC=-4   Hex=3800000", [set_frequency("00 00 80 03")]))
        program.receiver.plug()
        program.receiver.set_outcome("success")
        self.assertEqual(program.press("20 m"), TUNED_20_M)

    def test_failed_transfers_show_the_result_of_the_library(self):
        program = self.start()
        program.press("100.0000 MHz")  # so that calibration sends
        for outcome, result in FAILED_TRANSFERS:
            with self.subTest(outcome):
                program.receiver.set_outcome(outcome)
                self.assertEqual(program.press("20 m"),
                                 (f"RC={result}   Hex=3800000", TUNED_20_M[1]))
                self.assertEqual(program.calibrate("100"),
                                 (f"RC={result}  Calibrated!",
                                  [set_crystal_frequency("C3 F5 48 72")]))
        program.receiver.set_outcome("success")
        self.assertEqual(program.press("20 m"), TUNED_20_M)

    def test_transfer_that_times_out(self):
        # The only case that waits for the 5000 ms time-out.
        program = self.start()
        program.receiver.set_outcome("timeout")
        self.assertEqual(program.press("20 m", TIMED_OUT_REPLY_SECONDS),
                         ("RC=-7   Hex=3800000", TUNED_20_M[1]))
        program.receiver.set_outcome("success")
        self.assertEqual(program.press("20 m"), TUNED_20_M)

    def test_access_to_the_receiver_denied(self):
        program = self.start()
        program.receiver.deny_access()
        self.assertEqual(program.press("20 m"), (NOT_FOUND, []))
        # The operator's terminal says why; the window keeps its one line.
        self.assertIn("vexa-sdr-control: receiver 16C0:05DC", program.receiver.program_errors())
        program.receiver.allow_access()
        self.assertEqual(program.press("20 m"), TUNED_20_M)
