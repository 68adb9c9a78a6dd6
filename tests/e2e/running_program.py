"""The real program, started as an operator starts it, on a private display
and against the emulated receiver, and driven from outside."""

import atexit
import os
import sys
import unittest

from accessible_windows import (ABOUT_TITLE, FREQUENCY_FIELD, MAIN_WINDOW_TITLE,
                                MESSAGE_AREA, top_level)
from receiver_harness import HarnessedProgram
from virtual_display import VirtualDisplay
from waiting import wait_until
from x_window import XWindow

PROGRAM = os.environ["VEXA_PROGRAM"]
RECEIVER_HARNESS = os.environ["VEXA_RECEIVER_HARNESS"]

# How long a click may take to show its line. A transfer that times out
# holds the window for its 5 s bound; the rest is room for a busy machine.
REPLY_SECONDS = 10
TIMED_OUT_REPLY_SECONDS = 5 + 5

# Written into the message area before each action: no line of the program's
# reads like this, so a new line shows that the action has ended.
_WAITING = "(waiting for the program)"

_display = None


def shared_display():
    """One display for the whole test file."""
    global _display
    if _display is None:
        _display = VirtualDisplay().__enter__()
        atexit.register(_display.__exit__, None, None, None)
    return _display


class RunningProgram(HarnessedProgram):
    def __init__(self, display, plugged=True):
        self.display = display
        env = dict(display.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        super().__init__(RECEIVER_HARNESS, PROGRAM, env,
                         os.path.join(display.home, "program.log"), plugged)

    def started(self):
        self.pid = self.receiver.program_pid()
        self.window = top_level(self.pid, MAIN_WINDOW_TITLE)

    def stop(self):
        """Ends the program unless it has ended by itself, and tells what it
        said if it failed."""
        if not self.receiver.running() and self.receiver.process.returncode != 0:
            sys.stderr.write(self.receiver.program_errors())
        super().stop()

    def x_window(self, title=MAIN_WINDOW_TITLE):
        return XWindow.find(self.display, title, self.pid)

    def visible_windows(self, title):
        return XWindow.all_visible(self.display, title, self.pid)

    # What the operator does and sees.

    @property
    def message(self):
        return self.window.text(MESSAGE_AREA)

    def act(self, action, timeout=REPLY_SECONDS):
        """Runs action and waits for the line it leaves in the message area;
        returns (that line, [every transfer the receiver got meanwhile])."""
        self.window.set_text(MESSAGE_AREA, _WAITING)
        action()

        def new_line():
            text = self.window.try_text(MESSAGE_AREA)
            return None if text in (None, _WAITING) else [text]
        [line] = wait_until(new_line, timeout, "a line in the message area")
        return line, self.receiver.take_transfers()

    def press(self, caption, timeout=REPLY_SECONDS):
        return self.act(lambda: self.window.press(caption), timeout)

    def type_frequency(self, text):
        self.window.set_text(FREQUENCY_FIELD, text)

    @property
    def typed_frequency(self):
        return self.window.text(FREQUENCY_FIELD)

    def send_typed(self, text):
        """Types text into the frequency field and clicks "Set by value"."""
        self.type_frequency(text)
        return self.press("Set by value")

    def calibrate(self, measured):
        self.type_frequency(measured)
        return self.press("Calibrate")

    def about_dialog(self):
        return top_level(self.pid, ABOUT_TITLE)

    def wait_for_exit(self, timeout=REPLY_SECONDS):
        return self.receiver.wait_for_exit(timeout)


class ProgramTest(unittest.TestCase):
    """Each test with the program started afresh, the receiver plugged in."""

    def setUp(self):
        self.program = RunningProgram(shared_display())
        self.addCleanup(self.program.stop)
