"""Leaving the real program: "Exit" shows the About dialog beside a window
that still works; OK, Esc or Enter on OK end the program with status 0; the
close boxes close their own window only, and the program ends with its last
window."""

import unittest

from accessible_windows import ABOUT_TITLE, MAIN_WINDOW_TITLE
from receiver_harness import set_frequency
from running_program import RunningProgram, shared_display
from waiting import wait_until
from x_window import press_key

TUNED_20_M = ("RC=4   Hex=3800000", [set_frequency("00 00 80 03")])
GONE_SECONDS = 10


class ExitAboutTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shared_display().start_window_manager()  # title bars with close boxes

    def setUp(self):
        self.program = self.start()

    def start(self):
        program = RunningProgram(shared_display())
        self.addCleanup(program.stop)
        return program

    def show_about(self, program=None):
        program = program or self.program
        program.window.press("Exit")
        return program.about_dialog()

    def wait_until_closed(self, title):
        wait_until(lambda: not self.program.visible_windows(title), GONE_SECONDS,
                   f"{title!r} to close")

    def test_ok_ends_the_program_and_exit_leaves_the_window_working(self):
        dialog = self.show_about()
        self.assertEqual(self.program.press("20 m"), TUNED_20_M)
        # A second "Exit" brings the same dialog forward; it sends nothing.
        self.program.window.press("Exit")
        self.assertEqual(self.program.press("20 m"), TUNED_20_M)
        self.assertEqual(len(self.program.visible_windows(ABOUT_TITLE)), 1)
        dialog.press("OK")
        self.assertEqual(self.program.wait_for_exit(), 0)

    def test_keys_in_the_dialog_end_the_program(self):
        # Enter presses the focused button, which is OK when the dialog opens.
        for key, program in (("Escape", self.program), ("Return", self.start())):
            with self.subTest(key):
                self.show_about(program)
                about = program.x_window(ABOUT_TITLE)
                wait_until(about.is_active, GONE_SECONDS, "the dialog to take the focus")
                press_key(program.display, key)
                self.assertEqual(program.wait_for_exit(), 0)

    def test_closing_the_main_window_ends_the_program(self):
        self.program.x_window().request_close()
        self.assertEqual(self.program.wait_for_exit(), 0)

    def test_program_runs_on_while_the_dialog_is_open(self):
        dialog = self.show_about()
        self.program.x_window().request_close()
        self.wait_until_closed(MAIN_WINDOW_TITLE)
        # The dialog still answers, so the program has taken the close and runs on.
        self.assertTrue(dialog.has_label("Version 1.2.0"))
        self.assertTrue(self.program.receiver.running())
        dialog.press("OK")
        self.assertEqual(self.program.wait_for_exit(), 0)

    def test_closing_the_dialog_leaves_the_program_running(self):
        self.show_about()
        self.program.x_window(ABOUT_TITLE).request_close()
        self.wait_until_closed(ABOUT_TITLE)
        self.assertEqual(self.program.press("20 m"), TUNED_20_M)
        dialog = self.show_about()
        dialog.press("OK")
        self.assertEqual(self.program.wait_for_exit(), 0)
