"""The main window's layout rule in the real window, resized from outside,
without a window manager and with one that frames it: the outer size never
falls below its floors, and only the message area follows the width."""

import time
import unittest

from accessible_windows import MESSAGE_AREA
from running_program import RunningProgram, shared_display
from waiting import WaitTimeout, wait_until

# Pixels at 96 dpi, 15 twips each; outer sizes include the frame.
DESIGN_CLIENT = (590, 249)     # 8850 x 3735 twips
LOWEST_OUTER_HEIGHT = 167      # 2500 twips, rounded up
NARROWEST_OUTER_WIDTH = 240    # 3600 twips: the message area's left
WIDENED_OUTER_WIDTH = 247      # 3700 twips, rounded up
MESSAGE_AREA_LEFT = 240        # from the client area's left

# Outer sizes asked for from outside.
RESIZES = [
    (800, 300),
    (1000, 100),
    (600, 167),
    (600, 166),
    (481, 200),
    (480, 200),
    (300, 200),
    (240, 200),
    (239, 200),
    (100, 50),
    (700, 250),
]

SETTLE_SECONDS = 5


def outer_size_after_rule(width, height):
    return (WIDENED_OUTER_WIDTH if width < NARROWEST_OUTER_WIDTH else width,
            max(height, LOWEST_OUTER_HEIGHT))


def message_area_width(outer_width):
    return max(0, outer_width - 2 * MESSAGE_AREA_LEFT)


class LayoutRule:
    """The checks, run once without and once with a window manager."""

    def setUp(self):
        self.program = RunningProgram(shared_display())
        self.addCleanup(self.program.stop)
        self.x_window = self.program.x_window()

    def observe(self):
        """Outer size, the message area's left and width in the client area,
        and every other control's place and size in the client area."""
        client_x, client_y, _, _ = self.x_window.client_geometry()
        others = []
        message = None
        for role, name, (x, y, width, height) in self.program.window.controls():
            placed = (role, name, x - client_x, y - client_y, width, height)
            if name == MESSAGE_AREA:
                message = (x - client_x, width)
            else:
                others.append(placed)
        return self.x_window.outer_size(), message, others

    def wait_for_layout(self, outer, others):
        expected = (outer, (MESSAGE_AREA_LEFT, message_area_width(outer[0])), others)
        observed = [None]

        def laid_out():
            observed[0] = self.observe()
            return observed[0] == expected
        try:
            wait_until(laid_out, SETTLE_SECONDS, f"outer size {outer}")
            # A rule that fights the resize would undo it a moment later.
            time.sleep(0.2)
            observed[0] = self.observe()
        except WaitTimeout:
            pass
        self.assertEqual(observed[0], expected)

    def test_first_showing_and_resizes_from_outside(self):
        left, right, top, bottom = self.x_window.frame_extents()
        design_outer = (DESIGN_CLIENT[0] + left + right, DESIGN_CLIENT[1] + top + bottom)
        _, _, others = self.observe()
        with self.subTest("first showing"):
            self.wait_for_layout(design_outer, others)
        for width, height in RESIZES:
            with self.subTest(outer=(width, height)):
                self.x_window.resize(width - left - right, height - top - bottom)
                self.wait_for_layout(outer_size_after_rule(width, height), others)
        self.assertTrue(self.program.receiver.running())


class WithoutWindowManagerTest(LayoutRule, unittest.TestCase):
    pass


class WithWindowManagerTest(LayoutRule, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shared_display().start_window_manager()

    @classmethod
    def tearDownClass(cls):
        shared_display().stop_window_manager()

    def test_frame_is_openbox_s(self):
        self.assertEqual(self.x_window.frame_extents(), (1, 1, 20, 5))
