"""Crystal calibration in the real program: only after a start-up button,
dividing by the frequency of the last one clicked, and the crystal word on
the wire."""

from receiver_harness import set_crystal_frequency, set_frequency
from running_program import ProgramTest

CLICK_STARTUP_FIRST = " Error: Click 100.0000 MHz or 56.3200 MHz first!"
IMPLAUSIBLE = " Error in X-tal frequency!"
CALIBRATED = "RC=4  Calibrated!"
NOMINAL_CRYSTAL = "C3 F5 48 72"  # 114.285 MHz x 2^24, 0x7248F5C3
TOOL_TIP = ("Gebruik deze toets alleen na aanklikken opstartfrekwentie (100.00 of 56.32 MHz) "
            "en manual input van gemeten outputfrekwentie!!")

# Measured frequency typed, line, data bytes of the crystal request (None: nothing sent).
AFTER_100_MHZ = [
    ("100", CALIBRATED, NOMINAL_CRYSTAL),
    ("100.1", CALIBRATED, "8B 37 66 72"),
    ("99.9", IMPLAUSIBLE, None),
    ("56.32", IMPLAUSIBLE, None),
    ("-100", IMPLAUSIBLE, None),
    ("", IMPLAUSIBLE, None),
]
AFTER_56_32_MHZ = [
    ("56.32", CALIBRATED, NOMINAL_CRYSTAL),
    ("100", IMPLAUSIBLE, None),
]


def crystal(line, data):
    return line, [] if data is None else [set_crystal_frequency(data)]


class CalibrationTest(ProgramTest):
    def calibrate_each(self, table):
        for measured, line, data in table:
            with self.subTest(measured=measured):
                self.assertEqual(self.program.calibrate(measured), crystal(line, data))

    def test_tool_tip_tells_the_order(self):
        self.assertEqual(self.program.window.button("Calibrate").get_description(), TOOL_TIP)

    def test_calibration_follows_the_last_startup_button(self):
        program = self.program
        with self.subTest("before any start-up button"):
            self.assertEqual(program.calibrate("100"), crystal(CLICK_STARTUP_FIRST, None))
            # The same word as 100.0000 MHz, from buttons that set no start-up frequency.
            self.assertEqual(program.send_typed("100"),
                             ("RC=4   Hex=C800000", [set_frequency("00 00 80 0C")]))
            self.assertEqual(program.calibrate("100"), crystal(CLICK_STARTUP_FIRST, None))
            self.assertEqual(program.press("6 m"),
                             ("RC=4   Hex=C800000", [set_frequency("00 00 80 0C")]))
            self.assertEqual(program.calibrate("100"), crystal(CLICK_STARTUP_FIRST, None))

        self.assertEqual(program.press("100.0000 MHz"),
                         ("RC=4   Hex=C800000", [set_frequency("00 00 80 0C")]))
        self.calibrate_each(AFTER_100_MHZ)

        self.assertEqual(program.press("56.3200 MHz"),
                         ("RC=4   Hex=70A3D71", [set_frequency("71 3D 0A 07")]))
        self.calibrate_each(AFTER_56_32_MHZ)

        with self.subTest("Set by value leaves the start-up frequency alone"):
            program.send_typed("100")
            self.assertEqual(program.calibrate("56.32"), crystal(CALIBRATED, NOMINAL_CRYSTAL))
